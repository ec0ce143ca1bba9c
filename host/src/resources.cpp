#include "resources.h"

#include <dlfcn.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

struct Token {
    enum Kind { kEnd, kWord, kNumber, kString, kComma } kind = kEnd;
    std::string text;
    long long number = 0;
    int line = 0;
};

class Lexer {
public:
    explicit Lexer(const std::string& s) : src(s) {}

    Token Next() {
        SkipSpace();
        Token t;
        t.line = line;
        if (pos >= src.size())
            return t;
        char c = src[pos];
        if (c == ',') {
            ++pos;
            t.kind = Token::kComma;
        } else if (c == '"') {
            t.kind = Token::kString;
            ++pos;
            while (pos < src.size() && src[pos] != '"') {
                if (src[pos] == '\\' && pos + 1 < src.size()) {
                    ++pos;
                    t.text += src[pos] == 'n' ? '\n' : src[pos];
                } else {
                    if (src[pos] == '\n')
                        ++line;
                    t.text += src[pos];
                }
                ++pos;
            }
            if (pos >= src.size()) {
                t.kind = Token::kEnd;
                t.text = "unterminated string";
                return t;
            }
            ++pos;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
            size_t start = pos;
            ++pos;
            while (pos < src.size() && std::isalnum(static_cast<unsigned char>(src[pos]))) ++pos;
            t.text = src.substr(start, pos - start);
            char* end = nullptr;
            t.number = std::strtoll(t.text.c_str(), &end, 0);
            t.kind = (end && *end == '\0') ? Token::kNumber : Token::kWord;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = pos;
            while (pos < src.size() &&
                   (std::isalnum(static_cast<unsigned char>(src[pos])) || src[pos] == '_'))
                ++pos;
            t.kind = Token::kWord;
            t.text = src.substr(start, pos - start);
        } else {
            t.kind = Token::kWord;
            t.text = std::string(1, c);
            ++pos;
        }
        return t;
    }

private:
    void SkipSpace() {
        while (pos < src.size()) {
            if (src[pos] == '\n') {
                ++line;
                ++pos;
            } else if (std::isspace(static_cast<unsigned char>(src[pos]))) {
                ++pos;
            } else if (src.compare(pos, 2, "//") == 0) {
                while (pos < src.size() && src[pos] != '\n') ++pos;
            } else {
                break;
            }
        }
    }

    const std::string& src;
    size_t pos = 0;
    int line = 1;
};

class Parser {
public:
    Parser(const std::string& script, const std::map<std::string, std::string>& f,
           ModuleResources& o)
        : lex(script), files(f), out(o) {
        Advance();
    }

    bool Run(std::string& error) {
        while (tok.kind != Token::kEnd && ok) {
            if (IsWord("STRINGTABLE"))
                StringTable();
            else if (IsWord("VERSION"))
                Version();
            else if (IsWord("BITMAP"))
                Bitmap();
            else if (IsWord("DIALOG"))
                Dialog();
            else
                Fail("unknown statement '" + tok.text + "'");
        }
        if (ok && !tok.text.empty())
            Fail(tok.text);
        if (!ok)
            error = message;
        return ok;
    }

private:
    void Advance() { tok = lex.Next(); }
    bool IsWord(const char* w) const { return tok.kind == Token::kWord && tok.text == w; }
    void Fail(const std::string& what) {
        if (!ok)
            return;
        ok = false;
        message = "line " + std::to_string(tok.line) + ": " + what;
    }
    long long Number() {
        if (tok.kind != Token::kNumber) {
            Fail("number expected");
            return 0;
        }
        long long n = tok.number;
        Advance();
        if (tok.kind == Token::kComma)
            Advance();
        return n;
    }
    std::string String() {
        if (tok.kind != Token::kString) {
            Fail("quoted text expected");
            return std::string();
        }
        std::string s = tok.text;
        Advance();
        return s;
    }
    void Keyword(const char* w) {
        if (!IsWord(w))
            Fail(std::string(w) + " expected");
        Advance();
    }

    void StringTable() {
        Advance();
        while (ok && !IsWord("END")) {
            if (tok.kind == Token::kEnd)
                return Fail("END expected");
            int id = static_cast<int>(Number());
            out.strings[id] = WideFromUtf8(String());
        }
        Advance();
    }
    void Version() {
        Advance();
        for (int& part : out.fileVersion) part = static_cast<int>(Number());
        out.hasVersion = ok;
    }
    void Bitmap() {
        Advance();
        int id = static_cast<int>(Number());
        std::string name = String();
        if (!ok)
            return;
        auto file = files.find(name);
        if (file == files.end())
            return Fail("bitmap file '" + name + "' is not in the module");
        out.bitmaps[id].assign(file->second.begin(), file->second.end());
    }
    void Dialog() {
        Advance();
        DialogTemplate dlg;
        dlg.id = static_cast<int>(Number());
        dlg.x = static_cast<int>(Number());
        dlg.y = static_cast<int>(Number());
        dlg.width = static_cast<int>(Number());
        dlg.height = static_cast<int>(Number());
        Keyword("STYLE");
        dlg.style = static_cast<DWORD>(Number());
        Keyword("FONT");
        dlg.fontSize = static_cast<int>(Number());
        dlg.fontName = WideFromUtf8(String());
        while (ok && !IsWord("END")) {
            if (tok.kind == Token::kEnd)
                return Fail("END expected");
            Keyword("CONTROL");
            DialogControl c;
            c.id = static_cast<int>(Number());
            c.className = String();
            c.text = WideFromUtf8(String());
            c.x = static_cast<int>(Number());
            c.y = static_cast<int>(Number());
            c.width = static_cast<int>(Number());
            c.height = static_cast<int>(Number());
            c.style = static_cast<DWORD>(Number());
            dlg.controls.push_back(c);
        }
        Advance();
        if (ok)
            out.dialogs[dlg.id] = dlg;
    }

    Lexer lex;
    const std::map<std::string, std::string>& files;
    ModuleResources& out;
    Token tok;
    bool ok = true;
    std::string message;
};

std::mutex modulesLock;
std::map<HINSTANCE, std::unique_ptr<ModuleResources>>& Modules() {
    static std::map<HINSTANCE, std::unique_ptr<ModuleResources>> modules;
    return modules;
}

std::unique_ptr<ModuleResources> ReadModule(HINSTANCE module) {
    const auto* table = static_cast<const HostResourceFile*>(dlsym(module, HOST_RESOURCE_SYMBOL));
    if (!table)
        return nullptr;
    std::map<std::string, std::string> files;
    std::string script;
    for (const HostResourceFile* f = table; f->name; ++f) {
        std::string name = f->name, bytes(reinterpret_cast<const char*>(f->data), f->size);
        if (script.empty() && name.size() > 3 && name.compare(name.size() - 3, 3, ".rc") == 0)
            script = bytes;
        else
            files[name] = bytes;
    }
    auto res = std::make_unique<ModuleResources>();
    std::string error;
    if (!ParseResourceScript(script, files, *res, error))
        return nullptr;
    return res;
}

}  // namespace

bool ParseResourceScript(const std::string& script, const std::map<std::string, std::string>& files,
                         ModuleResources& out, std::string& error) {
    Parser parser(script, files, out);
    return parser.Run(error);
}

const ModuleResources* GetModuleResources(HINSTANCE module) {
    if (!module)
        return nullptr;
    std::lock_guard<std::mutex> guard(modulesLock);
    auto& modules = Modules();
    auto it = modules.find(module);
    if (it == modules.end())
        it = modules.emplace(module, ReadModule(module)).first;
    return it->second.get();
}

void ReleaseModuleResources(HINSTANCE module) {
    std::lock_guard<std::mutex> guard(modulesLock);
    Modules().erase(module);
}

std::wstring WideFromUtf8(const std::string& s) {
    std::wstring out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        unsigned long cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc >> 6) != 2)
                valid = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        out += valid ? static_cast<wchar_t>(cp) : L'\uFFFD';
        i += valid ? extra + 1 : 1;
    }
    return out;
}

std::string Utf8FromWide(const std::wstring& s) {
    std::string out;
    for (wchar_t wc : s) {
        unsigned long cp = static_cast<unsigned long>(wc);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buf, int size) {
    if (!buf || size <= 0)
        return 0;
    const ModuleResources* res = GetModuleResources(instance);
    if (!res)
        return 0;
    auto it = res->strings.find(static_cast<int>(id));
    if (it == res->strings.end())
        return 0;
    int n = static_cast<int>(std::min<size_t>(it->second.size(), static_cast<size_t>(size - 1)));
    it->second.copy(buf, static_cast<size_t>(n));
    buf[n] = L'\0';
    return n;
}

BOOL DisableThreadLibraryCalls(HMODULE module) {
    return module ? TRUE : FALSE;
}

HMODULE HostModuleOf(const void* address) {
    Dl_info info;
    if (!dladdr(address, &info) || !info.dli_fname)
        return nullptr;
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    // An address outside every loaded library lies in the program itself.
    if (!handle)
        handle = dlopen(nullptr, RTLD_LAZY);
    // The module stays loaded while its code runs; keep no extra reference.
    if (handle)
        dlclose(handle);
    return handle;
}
