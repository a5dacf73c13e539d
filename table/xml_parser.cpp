#include "xml_parser.h"

#include <expat.h>

#include <memory>
#include <string>

namespace tongqiu::table {
namespace {

constexpr char kNamespaceSeparator = '|';

std::string_view LocalName(const XML_Char* name) {
    const std::string_view full(name);
    const auto separator = full.rfind(kNamespaceSeparator);
    return separator == std::string_view::npos ? full : full.substr(separator + 1);
}

struct Reading {
    XML_Parser parser;
    XmlHandler& handler;
    void StopOnError() const {
        if (handler.error) XML_StopParser(parser, XML_FALSE);
    }
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& reading = *static_cast<Reading*>(data);
    reading.handler.Start(LocalName(name), attributes);
    reading.StopOnError();
}

void OnEnd(void* data, const XML_Char* name) {
    auto& reading = *static_cast<Reading*>(data);
    reading.handler.End(LocalName(name));
    reading.StopOnError();
}

void OnText(void* data, const XML_Char* text, int size) {
    auto& reading = *static_cast<Reading*>(data);
    reading.handler.Text(std::string_view(text, static_cast<std::size_t>(size)));
    reading.StopOnError();
}

void OnDoctype(void* data, const XML_Char* /*name*/, const XML_Char* /*system*/,
               const XML_Char* /*public*/, int /*internal*/) {
    auto& reading = *static_cast<Reading*>(data);
    reading.handler.error = InputError{0, "含有 DTD，工作簿中不应有。"};
    reading.StopOnError();
}

}  // namespace

std::string_view Attribute(const char** attributes, std::string_view name) {
    for (; *attributes != nullptr; attributes += 2) {
        if (LocalName(attributes[0]) == name) return attributes[1];
    }
    return {};
}

std::optional<InputError> ParseXml(ZipArchive& archive, std::string_view part,
                                   XmlHandler& handler) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreateNS(nullptr, kNamespaceSeparator), &XML_ParserFree);
    if (!parser) return InputError{0, "内存不足。"};
    Reading reading{parser.get(), handler};
    XML_SetUserData(parser.get(), &reading);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
    const auto failed = [&]() -> std::optional<InputError> {
        if (handler.error) {
            if (handler.error->line == 0 && !handler.error->message.starts_with(part)) {
                handler.error->message = std::string(part) + "：" + handler.error->message;
            }
            return handler.error;
        }
        return InputError{0, std::string(part) + "：XML 格式有误（第 " +
                                 std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                                 " 行）：" + XML_ErrorString(XML_GetErrorCode(parser.get())) +
                                 "。"};
    };
    auto error = archive.Read(part, [&](std::string_view piece) -> std::optional<InputError> {
        if (XML_Parse(parser.get(), piece.data(), static_cast<int>(piece.size()), XML_FALSE) ==
            XML_STATUS_ERROR) {
            return failed();
        }
        return std::nullopt;
    });
    if (error) return error;
    if (XML_Parse(parser.get(), nullptr, 0, XML_TRUE) == XML_STATUS_ERROR) return failed();
    return std::nullopt;
}

}  // namespace tongqiu::table
