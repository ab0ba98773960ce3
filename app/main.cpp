#include "framework/ui/AfxPlaceholder.h"

int main(int argc, char** argv)
{
    return AfxRunPlaceholderWindow(argc, argv, "Taliso");
}
