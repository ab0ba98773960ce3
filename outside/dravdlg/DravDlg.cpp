// Stand-in for the outside diagnosis dialog library.
extern "C" int DravDlgStandInVersion() { return 1; }
