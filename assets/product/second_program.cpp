// The demo product's second program (installed as LXupdate.exe): it has nothing to update
// and ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
