// Symbol visibility for libvantrel_host: the library is built with hidden visibility, so every
// public class, function and global is marked for export here, the C entry points that modules
// find with dlsym included. Classes are exported whole, so their type information and virtual
// tables are one across the host, the module and plugins.
#pragma once

#define VANTREL_HOST_EXPORT __attribute__((visibility("default")))
