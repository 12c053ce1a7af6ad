// Constant texts: the component table and the wizard's page titles.
#include "engine/ResConst.h"

namespace orv {

const char* const ComponentNames[6] = {
    "Orvanel Word Processor", "English spellchecker", "Hyphenation module",
    "Document templates",     "Clip library",         "Basic sound scheme",
};

// One file list per component: entry names, or folder prefixes ending in a backslash,
// separated by carriage returns.
const char* const ComponentFiles[6] = {
    "orv.exe\rLicense.txt",
    "English (American).asc\rEnglish (British).asc\renglish.zlx\rus.zlx\ruk.zlx\ruserdicen.tlx\r"
    "English (American).cache",
    "Hyphenation.dat",
    "Templates\\",
    "Clip Library\\",
    "Basic.asn",
};

// Indexed by page number; number 8 (finishing) shows no page and so has no title.
const char* const PageTitles[9] = {
    "Welcome to the Orvanel Word Processor Setup",
    "License Agreement",
    "Choose Destination Folder",
    "Select Components",
    "Ready to Install",
    "Installing",
    "Associate With Document Types",
    "Installation Complete",
    "",
};

}  // namespace orv
