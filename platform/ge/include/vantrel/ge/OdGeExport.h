// Symbol visibility for libvantrel_ge: the library is built with hidden visibility,
// so every public class and global is marked for export here.
#pragma once

#define VANTREL_GE_EXPORT __attribute__((visibility("default")))
