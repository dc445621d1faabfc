#include "assets/window_art_files.h"

#include <cstdio>

#include "assets/bmp.h"
#include "assets/cur.h"
#include "assets/ico.h"
#include "assets/window_art.h"

namespace assetgen {

std::vector<ProgramFile> windowArtFiles() {
    const std::string close = encodeBmp24(drawCloseGlyph());
    return {
        {"OptionsBackground", encodeBmp24(drawOptionsBackground())},
        {"OptionsTabSelected", encodeBmp24(drawTab(true))},
        {"OptionsTabUnselected", encodeBmp24(drawTab(false))},
        {"OptionsClose", close},
        {"OptionsPlay", encodeBmp24(drawPlayGlyph())},
        {"AboutBackground", encodeBmp24(drawAboutBackground())},
        {"AboutClose", close},
        {"AboutBanner", encodeIco(drawBannerIcon())},
        {"AboutPointer", encodeCur(drawLinkPointer(), kPointerHotSpotX, kPointerHotSpotY)},
        {"CreditsBackground", encodeBmp24(drawCreditsBackground())},
    };
}

std::string windowArtSource(const std::vector<ProgramFile>& files) {
    constexpr std::size_t kBytesPerLine = 24;
    std::string out =
        "// Written by tarnix-artgen (tools/assets) at build time: the pictures stored with the\n"
        "// options and About windows.\n"
        "#include \"windows/art/window_art.h\"\n\n"
        "#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n\n"
        "namespace windowart {\n";
    for (const ProgramFile& file : files) {
        out += "\nstd::span<const std::uint8_t> " + file.name +
               "() {\n    static const char bytes[] =";
        for (std::size_t i = 0; i < file.bytes.size(); ++i) {
            if (i % kBytesPerLine == 0) {
                out += "\n        \"";
            }
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x",
                          static_cast<unsigned>(static_cast<unsigned char>(file.bytes[i])));
            out += escaped;
            if (i % kBytesPerLine == kBytesPerLine - 1 || i + 1 == file.bytes.size()) {
                out += '"';
            }
        }
        out +=
            ";\n    return {reinterpret_cast<const std::uint8_t*>(bytes), sizeof bytes - 1};\n}\n";
    }
    out += "\n}  // namespace windowart\n";
    return out;
}

}  // namespace assetgen
