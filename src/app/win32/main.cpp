#include <windows.h>

#include "app/win32/vellumar_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return vellumar::win32::RunVellumar();
}
