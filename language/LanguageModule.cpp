// Placeholder until the resource script is compiled into the library.
extern "C" int TalisoLanguageModuleVersion() { return 1; }
