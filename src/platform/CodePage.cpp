#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace ombrel::platform {
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
    thread_local Converter converter("WINDOWS-1252", "UTF-8");
    return converter.run(utf8, [](std::string_view rest, std::string& out) {
        out.push_back('?');
        return utf8SequenceLength(static_cast<unsigned char>(rest[0]), rest);
    });
}

std::string fromAnsi(std::string_view ansi) {
    thread_local Converter converter("UTF-8", "WINDOWS-1252");
    return converter.run(ansi, [](std::string_view rest, std::string& out) {
        // 0x81, 0x8D, 0x8F, 0x90 and 0x9D: U+0081 and so on, two bytes in UTF-8.
        unsigned char b = static_cast<unsigned char>(rest[0]);
        out.push_back(static_cast<char>(0xC0 | (b >> 6)));
        out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        return size_t{1};
    });
}

}  // namespace ombrel::platform
