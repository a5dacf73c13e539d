#include "tongqiu/field_set.h"

namespace tongqiu {

std::string_view NameOf(FieldName name) {
    static constexpr std::array<std::string_view, kFieldCount> kNames{
        "Text1", "Text2", "Text3",  "Text4",  "Text5",  "Text6",  "Text7",
        "Text8", "Text9", "Text10", "Text11", "Text13", "Text14", "Text15",
    };
    return kNames[static_cast<std::size_t>(name)];
}

}  // namespace tongqiu
