#pragma once

#include <string>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// Writes an RtfDocument as RTF that rich-edit controls and word processors
// read: "{\rtf1\ansi\ansicpg1252\deff0" with a font table, a colour table,
// "\pard" paragraph formats, character runs, "\'hh" for Windows-1252
// characters and "\uN?" for the rest, "\protect" for protected runs, and
// pictures and objects as they were read. Reading the output gives back an
// equal document (see RtfDocument's invariants).
class RtfWriter {
public:
    static std::string write(const RtfDocument& document);

    // The "{\pict...}" group of one picture, as write() puts it in a document.
    // RtfReader reads such a group alone as a document holding that picture.
    static std::string writePicture(const Picture& picture);
};

}  // namespace tamix::rtf
