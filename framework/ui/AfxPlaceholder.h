#pragma once
// Opens an empty main window and runs the event loop until it closes.
int AfxRunPlaceholderWindow(int argc, char** argv, const char* title);
