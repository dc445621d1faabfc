// Writes the C++ source that stores the options and About windows' pictures.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "assets/window_art_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarnix-artgen <source-file>\n";
        return 2;
    }
    try {
        const std::filesystem::path target = argv[1];
        std::filesystem::path partial = target;
        partial += ".partial";
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out << assetgen::windowArtSource(assetgen::windowArtFiles());
            out.close();
            if (!out) {
                throw std::runtime_error("cannot write " + partial.string());
            }
        }
        // Renamed into place only when whole, so a failed run never leaves a truncated source.
        std::filesystem::rename(partial, target);
    } catch (const std::exception& e) {
        std::cerr << "tarnix-artgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
