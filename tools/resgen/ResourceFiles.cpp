#include "tools/resgen/ResourceFiles.h"

#include "tools/resgen/Artwork.h"
#include "tools/resgen/Bmp.h"
#include "tools/resgen/Ico.h"

namespace cq::resgen {

std::vector<ResourceFile> resourceFiles() {
    const Image face = smallPicture();
    const auto picture = encodeBmp24(onBackground(face, kSilver));
    const auto mask = encodeBmp24(maskOf(face));
    return {
        {"outlook/res/btnmain.bmp", picture},
        {"outlook/res/btnmainmask.bmp", mask},
        {"outlook/res/main_icon32.ico", encodeIco8(largeIcon())},
        {"outlook/res/main_icon.ico", encodeIco8(face)},
        {"outlook/res/logo.bmp", encodeBmp24(logo())},
        {"outlook/res/logo_about.bmp", encodeBmp24(aboutBanner())},
        {"word/res/btn_main.bmp", picture},
        {"word/res/btn_main_mask.bmp", mask},
    };
}

}  // namespace cq::resgen
