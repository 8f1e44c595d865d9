#include "Pictures.h"

#include "PictureCode.h"

namespace zorby::ui {
namespace {

Pixels Decoded(PictureKind kind, int size) {
    const CodedPicture& picture = Nearest(kind, size);
    return DecodePicture(picture.width, picture.height, {picture.code, picture.codeSize});
}

} // namespace

const CodedPicture& Nearest(PictureKind kind, int size) {
    const CodedPicture* largest = nullptr;
    for (const CodedPicture& picture : CodedPictures()) {
        if (picture.kind != kind) {
            continue;
        }
        if (picture.size >= size) {
            return picture;
        }
        largest = &picture;
    }
    return *largest;
}

Pixels Plate(PlateTone tone, int dpi) {
    return Decoded(tone == PlateTone::Dark ? PictureKind::DarkPlate : PictureKind::LightPlate, dpi);
}

Pixels Emblem(int size) {
    return Decoded(PictureKind::Emblem, size);
}

Pixels Chart(int size) {
    return Decoded(PictureKind::Chart, size);
}

} // namespace zorby::ui
