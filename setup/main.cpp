#include <string>
#include <vector>

#include "installer.h"
#include "windows_system.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    velmor::setup::WindowsSystem system;
    return velmor::setup::runSetup(arguments, system);
}
