// Symbol visibility for libhxicore: the library is built with hidden visibility, so every public
// class, function and global is marked for export here, the C names that modules find with
// dlsym included.
#pragma once

#define VANTREL_HXICORE_EXPORT __attribute__((visibility("default")))
