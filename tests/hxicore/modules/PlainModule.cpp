// A module without a string table that depends on one with a table: its resources must not
// be taken from that dependency.
extern "C" int hxicoreTestResAnchor();

extern "C" __attribute__((visibility("default"))) int hxicoreTestPlainAnchor() { return hxicoreTestResAnchor() + 1; }
