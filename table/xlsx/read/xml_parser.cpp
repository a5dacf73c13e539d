#include "xlsx/read/xml_parser.h"

#include <expat.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>

namespace tongqiu::table {
namespace {

constexpr char kNamespaceSeparator = '|';

// The most input that may go by without an element or a piece of text. The longest tag that a
// workbook needs (a sheet's start with its namespaces) is a few kilobytes; text comes in pieces.
// A longer stretch is a single endless token, which the parser would scan again for every piece.
constexpr std::size_t kMaxQuietBytes = std::size_t{256} << 10;

// What the parser itself may hold: its buffer, the names it has seen, the open elements. A
// workbook's part needs well under a megabyte; a part that names millions of different elements
// or attributes would need more.
constexpr std::size_t kMaxParserMemory = std::size_t{16} << 20;

// The parser's memory, counted. Each block keeps its size in front of it. One parser at a time
// runs on a thread, and all its blocks are freed with it, so a count for each thread suffices.
thread_local std::size_t t_parserMemory = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::size_t SizeOf(void* block) {
    std::size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    return size;
}

void* Keep(void* block, std::size_t size) {
    std::memcpy(block, &size, sizeof size);
    return static_cast<char*>(block) + kHeader;
}

void* Allocate(std::size_t size) {
    if (size > kMaxParserMemory - t_parserMemory) return nullptr;
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) return nullptr;
    t_parserMemory += size;
    return Keep(block, size);
}

void Free(void* memory) {
    if (memory == nullptr) return;
    void* block = static_cast<char*>(memory) - kHeader;
    t_parserMemory -= SizeOf(block);
    std::free(block);
}

void* Reallocate(void* memory, std::size_t size) {
    if (memory == nullptr) return Allocate(size);
    void* block = static_cast<char*>(memory) - kHeader;
    const std::size_t old = SizeOf(block);
    if (size > old && size - old > kMaxParserMemory - t_parserMemory) return nullptr;
    void* moved = std::realloc(block, size + kHeader);
    if (moved == nullptr) return nullptr;
    t_parserMemory = t_parserMemory - old + size;
    return Keep(moved, size);
}

const XML_Memory_Handling_Suite kCountedMemory{Allocate, Reallocate, Free};

std::string_view LocalName(const XML_Char* name) {
    const std::string_view full(name);
    const auto separator = full.rfind(kNamespaceSeparator);
    return separator == std::string_view::npos ? full : full.substr(separator + 1);
}

struct Reading {
    XML_Parser parser;
    XmlHandler& handler;
    int depth = 0;
    std::size_t quietBytes = 0;  // fed since the last element or text

    // Runs a handler's call; whatever it throws stops the part with a refusal of its own.
    template <typename Call>
    void Tell(Call call) {
        quietBytes = 0;
        try {
            call();
        } catch (const std::bad_alloc&) {
            handler.error = TableError{TableFault::OutOfMemory};
        } catch (const std::exception&) {
            handler.error = TableError{TableFault::UnreadableContent};
        }
        if (handler.error || handler.enough) XML_StopParser(parser, XML_FALSE);
    }
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& reading = *static_cast<Reading*>(data);
    reading.Tell([&] {
        if (++reading.depth > kMaxXmlDepth) {
            reading.handler.error = TableError{TableFault::NestedTooDeep};
            return;
        }
        reading.handler.Start(LocalName(name), attributes);
    });
}

void OnEnd(void* data, const XML_Char* name) {
    auto& reading = *static_cast<Reading*>(data);
    --reading.depth;
    reading.Tell([&] { reading.handler.End(LocalName(name)); });
}

void OnText(void* data, const XML_Char* text, int size) {
    auto& reading = *static_cast<Reading*>(data);
    reading.Tell(
        [&] { reading.handler.Text(std::string_view(text, static_cast<std::size_t>(size))); });
}

void OnDoctype(void* data, const XML_Char* /*name*/, const XML_Char* /*system*/,
               const XML_Char* /*public*/, int /*internal*/) {
    auto& reading = *static_cast<Reading*>(data);
    reading.Tell([&] { reading.handler.error = TableError{TableFault::HasDtd}; });
}

// What is wrong with XML that the parser refused.
TableError XmlFault(XML_Parser parser) {
    TableFault fault = TableFault::XmlMalformed;
    switch (XML_GetErrorCode(parser)) {
        case XML_ERROR_NO_MEMORY:
            return TableError{TableFault::XmlNamesTooMany};
        case XML_ERROR_INVALID_TOKEN:
        case XML_ERROR_PARTIAL_CHAR:
        case XML_ERROR_BAD_CHAR_REF:
            fault = TableFault::XmlBadCharacter;
            break;
        case XML_ERROR_UNCLOSED_TOKEN:
        case XML_ERROR_NO_ELEMENTS:
            fault = TableFault::XmlIncomplete;
            break;
        case XML_ERROR_TAG_MISMATCH:
            fault = TableFault::XmlTagMismatch;
            break;
        case XML_ERROR_DUPLICATE_ATTRIBUTE:
            fault = TableFault::XmlDuplicateAttribute;
            break;
        case XML_ERROR_UNDEFINED_ENTITY:
            fault = TableFault::XmlUndefinedEntity;
            break;
        case XML_ERROR_UNBOUND_PREFIX:
            fault = TableFault::XmlUnboundPrefix;
            break;
        case XML_ERROR_UNKNOWN_ENCODING:
        case XML_ERROR_INCORRECT_ENCODING:
            fault = TableFault::XmlBadEncoding;
            break;
        default:
            break;
    }
    TableError error{fault};
    error.partLine = static_cast<long>(XML_GetCurrentLineNumber(parser));
    return error;
}

}  // namespace

std::string_view Attribute(const char** attributes, std::string_view name) {
    for (; *attributes != nullptr; attributes += 2) {
        if (LocalName(attributes[0]) == name) return attributes[1];
    }
    return {};
}

std::optional<TableError> ParseXml(ZipArchive& archive, std::string_view part,
                                   XmlHandler& handler) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate_MM(nullptr, &kCountedMemory, &kNamespaceSeparator), &XML_ParserFree);
    const auto named = [&](TableError error) {
        if (error.part.empty()) error.part = part;
        return error;
    };
    if (!parser) return named(TableError{TableFault::OutOfMemory});
    Reading reading{parser.get(), handler};
    XML_SetUserData(parser.get(), &reading);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
    // The handler's error, or the parser's; none when the handler has read enough.
    const auto failed = [&]() -> std::optional<TableError> {
        if (handler.error) return named(*handler.error);
        if (handler.enough) return std::nullopt;
        return named(XmlFault(parser.get()));
    };
    std::optional<TableError> stop;
    auto error = archive.Read(part, [&](std::string_view piece) {
        if (XML_Parse(parser.get(), piece.data(), static_cast<int>(piece.size()), XML_FALSE) ==
            XML_STATUS_ERROR) {
            stop = failed();
            return false;
        }
        reading.quietBytes += piece.size();
        if (reading.quietBytes > kMaxQuietBytes) {
            stop = named(TableError{TableFault::XmlTokenTooLarge});
            return false;
        }
        return true;
    });
    if (error) return named(*error);
    if (stop || handler.enough) return stop;
    if (XML_Parse(parser.get(), nullptr, 0, XML_TRUE) == XML_STATUS_ERROR) return failed();
    return std::nullopt;
}

}  // namespace tongqiu::table
