// Symbol visibility for libvantrel_db: the library is built with hidden visibility, so every
// public class, function and global is marked for export here. Classes are exported whole, so
// their type information and virtual tables are one across the host, the module and plugins.
// VANTREL_DB_FOR_TESTS marks what the library's own headers under src/ and dxf/ declare for its
// tests: exported so that test programs can link it, but not part of the library's interface
// (only the tests have those folders on their include path).
#pragma once

#define VANTREL_DB_EXPORT __attribute__((visibility("default")))
#define VANTREL_DB_FOR_TESTS __attribute__((visibility("default")))
