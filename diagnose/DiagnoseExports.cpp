// Entry points of the diagnosis library.
extern "C" int DiagnoseLibraryVersion() { return 1; }
