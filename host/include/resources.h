// Module resources: the string table, dialog templates, bitmaps and version a
// plug-in library carries. A library exports an array of files under the symbol
// HostModuleResourceFiles (ended by an entry with a null name); its first file
// whose name ends in ".rc" is the resource script, which names the others.
//
// Script statements (// starts a comment; numbers are decimal or 0x hex):
//   STRINGTABLE  ID "text" ...  END
//   VERSION a, b, c, d
//   BITMAP ID "file.bmp"
//   DIALOG ID x, y, width, height STYLE s FONT size "face"
//     CONTROL ID "class" "text" x, y, width, height, style
//   END
#pragma once

#include <map>
#include <string>
#include <vector>

#include "windefs.h"

struct HostResourceFile {
    const char* name;
    const unsigned char* data;
    unsigned long size;
};

#define HOST_RESOURCE_SYMBOL "HostModuleResourceFiles"

// A control of a dialog template; rectangles in dialog units. A control without
// an ID (a label or a group box) has ID -1.
struct DialogControl {
    int id = -1;
    std::string className;
    std::wstring text;
    int x = 0, y = 0, width = 0, height = 0;
    DWORD style = 0;
};

struct DialogTemplate {
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    DWORD style = 0;
    int fontSize = 8;
    std::wstring fontName;
    std::vector<DialogControl> controls;
};

struct ModuleResources {
    std::map<int, std::wstring> strings;
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::vector<unsigned char>> bitmaps;  // BMP file bytes
    bool hasVersion = false;
    int fileVersion[4] = {0, 0, 0, 0};
};

// Parses a resource script; files named in it are looked up in files. On failure
// error names the line and the problem.
bool ParseResourceScript(const std::string& script, const std::map<std::string, std::string>& files,
                         ModuleResources& out, std::string& error);

// The resources of a loaded module, read once; nullptr when the module has none or
// they cannot be read.
const ModuleResources* GetModuleResources(HINSTANCE module);
// Forgets what was read of a module before it is unloaded.
void ReleaseModuleResources(HINSTANCE module);

// Text conversions between UTF-8 and the host's wide strings.
std::wstring WideFromUtf8(const std::string& s);
std::string Utf8FromWide(const std::wstring& s);
