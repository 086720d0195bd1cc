#include "platform/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace ombrel::platform {
namespace {

// ASCII reads the same in both encodings, and almost every name and value the tool passes is
// ASCII: such a text crosses unchanged, without the cost of a conversion.
bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

#ifdef _WIN32

// Windows converts through UTF-16 itself. Without best fit, a character the code page lacks
// becomes '?' instead of a look-alike letter, as on the other side.
namespace {

constexpr UINT kAnsi = 1252;

std::wstring toWide(UINT codePage, std::string_view text) {
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string fromWide(UINT codePage, const std::wstring& wide, DWORD flags) {
    const int length = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), length, text.data(), needed, nullptr,
                        nullptr);
    return text;
}

}  // namespace

std::string toAnsi(std::string_view utf8) {
    if (isAscii(utf8)) {
        return std::string(utf8);
    }
    return fromWide(kAnsi, toWide(CP_UTF8, utf8), WC_NO_BEST_FIT_CHARS);
}

std::string fromAnsi(std::string_view ansi) {
    if (isAscii(ansi)) {
        return std::string(ansi);
    }
    return fromWide(CP_UTF8, toWide(kAnsi, ansi), 0);
}

#else

namespace {

// One iconv descriptor per direction and thread; opening one costs more than a short
// conversion, and traces convert a line at a time.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts what it can; at an input sequence it cannot convert it calls onBad with the
    // remaining input and the output so far, which must consume at least one byte.
    template <typename OnBad>
    std::string run(std::string_view input, OnBad onBad) {
        std::string out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, sizeof buffer - outLeft);
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                size_t used = onBad(std::string_view(in, inLeft), out);
                in += used;
                inLeft -= used;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

  private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with lead, 1 for a stray byte.
size_t utf8SequenceLength(unsigned char lead, std::string_view rest) {
    size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (n > rest.size()) {
        return 1;
    }
    for (size_t i = 1; i < n; ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return n;
}

}  // namespace

std::string toAnsi(std::string_view utf8) {
    if (isAscii(utf8)) {
        return std::string(utf8);
    }
    thread_local Converter converter("WINDOWS-1252", "UTF-8");
    return converter.run(utf8, [](std::string_view rest, std::string& out) {
        out.push_back('?');
        return utf8SequenceLength(static_cast<unsigned char>(rest[0]), rest);
    });
}

std::string fromAnsi(std::string_view ansi) {
    if (isAscii(ansi)) {
        return std::string(ansi);
    }
    thread_local Converter converter("UTF-8", "WINDOWS-1252");
    return converter.run(ansi, [](std::string_view rest, std::string& out) {
        // 0x81, 0x8D, 0x8F, 0x90 and 0x9D: U+0081 and so on, two bytes in UTF-8.
        unsigned char b = static_cast<unsigned char>(rest[0]);
        out.push_back(static_cast<char>(0xC0 | (b >> 6)));
        out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        return size_t{1};
    });
}

#endif

unsigned char foldedByte(std::string_view text, std::size_t i, Fold fold) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = at(i);
    const bool lower = fold == Fold::Lower;
    if (b < 0x80) {
        if (lower && b >= 'A' && b <= 'Z') {
            return static_cast<unsigned char>(b + 0x20);
        }
        if (!lower && b >= 'a' && b <= 'z') {
            return static_cast<unsigned char>(b - 0x20);
        }
        return b;
    }
    // The letters concerned are all two-byte sequences led by C3 (U+00C0..U+00FF) or C5
    // (U+0152, U+0153, U+0160, U+0161, U+0178, U+017D, U+017E). Lead bytes are never
    // continuation bytes, so the byte before a continuation byte tells which pair it is in.
    const unsigned char next = i + 1 < text.size() ? at(i + 1) : 0;
    const unsigned char lead = i > 0 ? at(i - 1) : 0;
    // U+0178 (C5 B8) and U+00FF (C3 BF) are one letter in two cases with different leads.
    if (b == 0xC5 && next == 0xB8 && lower) {
        return 0xC3;
    }
    if (b == 0xC3 && next == 0xBF && !lower) {
        return 0xC5;
    }
    if (lead == 0xC5 && b == 0xB8 && lower) {
        return 0xBF;
    }
    if (lead == 0xC3 && b == 0xBF && !lower) {
        return 0xB8;
    }
    if (lead == 0xC3) {
        // U+00C0..U+00DE and U+00E0..U+00FE, except the multiplication and division signs.
        if (lower && b >= 0x80 && b <= 0x9E && b != 0x97) {
            return static_cast<unsigned char>(b + 0x20);
        }
        if (!lower && b >= 0xA0 && b <= 0xBE && b != 0xB7) {
            return static_cast<unsigned char>(b - 0x20);
        }
        return b;
    }
    if (lead == 0xC5) {
        // Œ (U+0152), Š (U+0160) and Ž (U+017D), each followed by its lower-case form.
        const bool upperForm = b == 0x92 || b == 0xA0 || b == 0xBD;
        const bool lowerForm = b == 0x93 || b == 0xA1 || b == 0xBE;
        if (lower && upperForm) {
            return static_cast<unsigned char>(b + 1);
        }
        if (!lower && lowerForm) {
            return static_cast<unsigned char>(b - 1);
        }
    }
    return b;
}

std::string foldCase(std::string_view utf8, Fold fold) {
    std::string folded(utf8.size(), '\0');
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        folded[i] = static_cast<char>(foldedByte(utf8, i, fold));
    }
    return folded;
}

int compareFolded(std::string_view a, std::string_view b, Fold fold) {
    const std::size_t common = std::min(a.size(), b.size());
    const auto asciiFolded = [fold](unsigned char c) {
        if (fold == Fold::Lower) {
            return c >= 'A' && c <= 'Z' ? c + 0x20 : int{c};
        }
        return c >= 'a' && c <= 'z' ? c - 0x20 : int{c};
    };
    for (std::size_t i = 0; i < common; ++i) {
        const auto p = static_cast<unsigned char>(a[i]);
        const auto q = static_cast<unsigned char>(b[i]);
        // Names are compared at every index step of the store: an ASCII byte folds on its own,
        // without the look at its neighbours that the code page's other letters need.
        if (p < 0x80 && q < 0x80) {
            const int d = asciiFolded(p) - asciiFolded(q);
            if (d != 0) {
                return d;
            }
            continue;
        }
        const int x = foldedByte(a, i, fold);
        const int y = foldedByte(b, i, fold);
        if (x != y) {
            return x - y;
        }
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace ombrel::platform
