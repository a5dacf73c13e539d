#include "xlsx/read/file_kind.h"

#include <algorithm>
#include <string>

namespace tongqiu::table {

bool IsZip(std::string_view start) {
    // A part's header, an empty archive's end record, or the mark of an archive split in pieces.
    return start.starts_with("PK\x03\x04") || start.starts_with("PK\x05\x06") ||
           start.starts_with("PK\x07\x08");
}

bool IsCompoundFile(std::string_view start) {
    return start.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

TableError RefuseCompoundFile(ByteSource& in) {
    // A workbook with a password keeps its encrypted ZIP in a stream named "EncryptedPackage".
    static const std::string kName = [] {
        std::string name;
        for (const char c : std::string_view("EncryptedPackage")) name.append({c, '\0'});
        return name;
    }();
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    constexpr int kPieces = 64;
    std::string text(kPiece + kName.size(), '\0');
    if (!in.Seek(0)) return TableError{TableFault::OldExcelFile};
    std::size_t kept = 0;
    bool more = true;
    for (int i = 0; i < kPieces && more; ++i) {
        const std::size_t count = in.Read(text.data() + kept, kPiece);
        more = count == kPiece;
        const std::string_view read(text.data(), kept + count);
        if (read.find(kName) != std::string_view::npos) {
            return TableError{TableFault::PasswordProtected};
        }
        kept = std::min(read.size(), kName.size());
        std::copy(read.end() - static_cast<std::ptrdiff_t>(kept), read.end(), text.begin());
    }
    return TableError{TableFault::OldExcelFile};
}

}  // namespace tongqiu::table
