#include "io/one_line_text.h"

std::string OneLine(const std::string& text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += ' ';
            ++i;
        } else {
            out += (c < 0x20 || c == 0x7F) ? ' ' : text[i];
        }
    }
    if (out.size() > limit) {
        std::size_t cut = limit;
        // Continuation bytes 10xxxxxx belong to the character before them.
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
        out = out.substr(0, cut) + "...";
    }
    return out;
}
