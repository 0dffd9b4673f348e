// A module with a string table (data/test_strings.tsv), loaded by the tests with dlopen.
extern "C" __attribute__((visibility("default"))) int hxicoreTestResAnchor() { return 1; }
