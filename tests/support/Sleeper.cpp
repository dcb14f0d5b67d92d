// Keeps the Wine prefix's server and services running between test programs.
#include <windows.h>

int main() {
    ::Sleep(INFINITE);
}
