#include "assets/program_files.h"

#include <fstream>
#include <stdexcept>

#include "assets/artwork.h"
#include "assets/bmp.h"
#include "assets/ico.h"
#include "assets/tones.h"
#include "assets/wav.h"

namespace assetgen {

std::vector<ProgramFile> programFiles() {
    return {
        {"idata.x6c", encodeIco(drawTrayIcon())},
        {"ldata.x6c", encodeBmp24(drawCompanyLogo())},
        {"sounds/notify.wav", encodeWav(synthNotify(), kSampleRate)},
        {"sounds/doorbell08.wav", encodeWav(synthDoorbell(), kSampleRate)},
        {"sounds/knock.wav", encodeWav(synthKnock(), kSampleRate)},
    };
}

void writeProgramFiles(const std::filesystem::path& folder) {
    for (const ProgramFile& file : programFiles()) {
        const std::filesystem::path path = folder / file.name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
    }
}

}  // namespace assetgen
