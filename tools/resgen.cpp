// The resource generator: draws every bitmap, icon and cursor of the bar
// and writes them as the files res/images.rc names.
//
//   resgen FOLDER    writes them all into FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tools/face_art.h"
#include "tools/image_files.h"

namespace {

struct Output {
    const char *name;
    std::function<Bytes()> make;
};

const Output kOutputs[] = {
    {"blank_face.bmp", [] { return BitmapFile(BlankFaceBitmap()); }},
    {"page_arrows.bmp", [] { return BitmapFile(PageArrowsBitmap()); }},
    {"pin.bmp", [] { return BitmapFile(PinBitmap()); }},
    {"panel_toggle.bmp", [] { return BitmapFile(PanelToggleBitmap()); }},
    {"page_plate.bmp", [] { return BitmapFile(PageNumberPlateBitmap()); }},
    {"system_panel.bmp", [] { return BitmapFile(SystemPanelBitmap()); }},
    {"tav.ico", [] { return IconFile(ProgramIcon()); }},
    {"program.ico", [] { return IconFile(DefaultProgramIcon()); }},
    {"clock1.ico", [] { return IconFile(AnimationIcon(0)); }},
    {"clock2.ico", [] { return IconFile(AnimationIcon(1)); }},
    {"clock3.ico", [] { return IconFile(AnimationIcon(2)); }},
    {"clock4.ico", [] { return IconFile(AnimationIcon(3)); }},
    {"move_mark.ico", [] { return IconFile(MoveMarkIcon()); }},
    {"wait.cur",
     [] {
         const CursorPicture c = WaitCursor();
         return CursorFile(c.picture, c.hotX, c.hotY);
     }},
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: resgen FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const Output &o : kOutputs) {
        const Bytes data = o.make();
        std::ofstream f(folder / o.name, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!f) {
            std::fprintf(stderr, "resgen: cannot write %s\n", (folder / o.name).string().c_str());
            return 1;
        }
    }
    return 0;
}
