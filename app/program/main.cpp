#include "app/CTalisoApp.h"

// The program's one application object; AfxWinMain finds it through AfxGetApp.
CTalisoApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
