#include "rtf/rtf_vocabulary.h"

namespace tamix::rtf {

namespace {

const std::string_view kSkippedDestinations[] = {
    "stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl",
    "footerr", "footerf", "footnote", "annotation", "fldinst", "pntext", "listtext",
    "nonshppict", "pntxta", "pntxtb", "listtable", "listoverridetable", "revtbl", "rsidtbl",
    "filetbl", "xe", "tc", "txe", "template", "comment", "title", "subject", "author",
    "operator", "keywords", "doccomm", "hlinkbase", "private", "datafield", "objdata",
    "objclass", "objname", "shpinst", "shptxt", "background", "do", "atnid", "atnauthor",
    "atrfstart", "atrfend", "bkmkstart", "bkmkend", "pgdsctbl", "mmathPr", "xmlnstbl",
    "themedata", "colorschememapping", "latentstyles", "datastore", "generator", "listpicture",
    "fontemb", "fontfile", "panose", "falt", "leveltext", "levelnumbers", "blipuid", "picprop",
    "userprops", "docvar", "buptim", "creatim", "printim", "revtim", "company", "manager",
    "category", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "wgrffmtfilter",
    "sp", "sn", "sv", "passwordhash", "protusertbl", "oldcprops", "oldpprops", "oldtprops",
    "oldsprops", "mhtmltag", "htmltag",
};

struct Special {
    std::string_view word;
    char32_t character;
};

const Special kSpecials[] = {
    {"tab", U'\t'},       {"line", 0x2028},      {"emdash", 0x2014},    {"endash", 0x2013},
    {"bullet", 0x2022},   {"lquote", 0x2018},    {"rquote", 0x2019},    {"ldblquote", 0x201C},
    {"rdblquote", 0x201D}, {"emspace", 0x2003},  {"enspace", 0x2002},   {"qmspace", 0x2005},
    {"zwj", 0x200D},      {"zwnj", 0x200C},      {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
};

}  // namespace

bool isSkippedDestination(std::string_view word) {
    for (std::string_view name : kSkippedDestinations) {
        if (word == name) return true;
    }
    return false;
}

bool startsDestination(std::string_view word) {
    return word == "fonttbl" || word == "colortbl" || word == "pict" || word == "object" || word == "result" ||
           word == "pn" || word == "upr" || word == "ud" || isSkippedDestination(word);
}

char32_t specialCharacter(std::string_view word) {
    for (const Special& s : kSpecials) {
        if (word == s.word) return s.character;
    }
    return 0;
}

}  // namespace tamix::rtf
