#include "rtf/picture_reader.h"

#include <string>

namespace tamix::rtf {

void PictureReader::start() {
    picture_ = Picture{};
    nibble_ = -1;
}

void PictureReader::word(std::string_view word, bool hasParam, int param) {
    Picture& p = picture_;
    auto format = [&](PictureFormat f, int formatParam) {
        p.format = f;
        p.formatParam = formatParam;
    };
    if (word == "pngblip") format(PictureFormat::Png, 0);
    else if (word == "jpegblip") format(PictureFormat::Jpeg, 0);
    else if (word == "emfblip") format(PictureFormat::Emf, 0);
    else if (word == "wmetafile") format(PictureFormat::Wmf, param);
    else if (word == "dibitmap") format(PictureFormat::Dib, param);
    else if (word == "wbitmap") format(PictureFormat::Bitmap, param);
    else if (word == "picw") p.width = param;
    else if (word == "pich") p.height = param;
    else if (word == "picwgoal") p.goalWidth = param;
    else if (word == "pichgoal") p.goalHeight = param;
    else if (word == "picscalex") p.scaleX = param;
    else if (word == "picscaley") p.scaleY = param;
    else {
        // Formats the editor cannot show are kept as words of their own.
        if (word == "macpict" || word == "pmmetafile" || word == "wmphoto") format(PictureFormat::Other, 0);
        if (p.extra.size() < kMaxExtra) {
            p.extra += '\\';
            p.extra += word;
            if (hasParam) p.extra += std::to_string(param);
        }
    }
}

void PictureReader::hex(std::string_view text) {
    std::string& data = picture_.data;
    for (unsigned char c : text) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else continue;
        if (nibble_ < 0) {
            nibble_ = v;
        } else {
            data.push_back(char(nibble_ * 16 + v));
            nibble_ = -1;
        }
    }
}

Picture PictureReader::take() {
    Picture p = std::move(picture_);
    start();
    return p;
}

}  // namespace tamix::rtf
