// Writes the tray icon, the company logo and the default sounds into a program folder.
#include <exception>
#include <iostream>

#include "assets/program_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarnix-assetgen <program-folder>\n";
        return 2;
    }
    try {
        assetgen::writeProgramFiles(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "tarnix-assetgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
