// Workbooks as other people's tools make them, and as nobody should: each made here in memory,
// put through tongqiu-batch, and checked for what it gives and for what it leaves behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "batch/run_batch.h"
#include "tongqiu/table/table_messages.h"
#include "xlsx/read/xlsx_reader.h"

// The workbooks below name only the parts of them that matter to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace tongqiu::table {
namespace {

namespace fs = std::filesystem;

struct Part {
    std::string name;
    std::string text;
    bool stored = false;  // not deflated
    int emptyBlocks = 0;  // deflated, after as many empty blocks that inflate to nothing
};

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFU));
}

std::string Deflate(const std::string& text) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string packed(deflateBound(&stream, static_cast<uLong>(text.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

// A ZIP file of the parts, deflated or stored.
std::string Zip(const std::vector<Part>& parts) {
    std::string out;
    std::string directory;
    for (const Part& part : parts) {
        std::string packed;
        for (int i = 0; i < part.emptyBlocks; ++i) packed.append("\0\0\0\xFF\xFF", 5);
        packed += part.stored ? part.text : Deflate(part.text);
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(part.text.data()),
                                             static_cast<uInt>(part.text.size())));
        const auto offset = static_cast<std::uint32_t>(out.size());
        const auto sizes = [&](std::string& header) {
            Put(header, 20, 2);                   // version needed
            Put(header, 0, 2);                    // flags
            Put(header, part.stored ? 0 : 8, 2);  // the method
            Put(header, 0, 4);                    // time and date
            Put(header, crc, 4);
            Put(header, static_cast<std::uint32_t>(packed.size()), 4);
            Put(header, static_cast<std::uint32_t>(part.text.size()), 4);
            Put(header, static_cast<std::uint32_t>(part.name.size()), 2);
        };
        Put(out, 0x04034b50, 4);
        sizes(out);
        Put(out, 0, 2);
        out += part.name + packed;
        Put(directory, 0x02014b50, 4);
        Put(directory, 20, 2);  // made by
        sizes(directory);
        directory.append(12, '\0');  // extra, comment, disk, attributes
        Put(directory, offset, 4);
        directory += part.name;
    }
    const auto start = static_cast<std::uint32_t>(out.size());
    out += directory;
    Put(out, 0x06054b50, 4);
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(parts.size()), 2);
    Put(out, static_cast<std::uint32_t>(parts.size()), 2);
    Put(out, static_cast<std::uint32_t>(directory.size()), 4);
    Put(out, start, 4);
    Put(out, 0, 2);
    return out;
}

constexpr std::string_view kMain =
    R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";

struct Book {
    std::string sheetData;  // the sheet's rows
    std::string sheetName = "管子";
    std::string cellStyles;     // <xf> elements; no styles part without them
    std::string numberFormats;  // <numFmt> elements
    std::string sharedStrings;  // <si> elements; no part without them
    std::string workbookExtra;  // inside <workbook>, after the sheets
    bool storedSheet = false;
    int emptyBlocks = 0;  // before the sheet's deflated data
};

std::string Workbook(const Book& book) {
    const std::string type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::string relations =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type=")" +
        type + R"(worksheet" Target="worksheets/sheet1.xml"/>)";
    std::vector<Part> parts;
    if (!book.cellStyles.empty()) {
        relations +=
            R"(<Relationship Id="rId2" Type=")" + type + R"(styles" Target="styles.xml"/>)";
        parts.push_back({.name = "xl/styles.xml",
                         .text = "<styleSheet" + std::string(kMain) + "><numFmts>" +
                                 book.numberFormats + "</numFmts><cellXfs>" + book.cellStyles +
                                 "</cellXfs></styleSheet>"});
    }
    if (!book.sharedStrings.empty()) {
        relations += R"(<Relationship Id="rId3" Type=")" + type +
                     R"(sharedStrings" Target="sharedStrings.xml"/>)";
        parts.push_back({"xl/sharedStrings.xml",
                         "<sst" + std::string(kMain) + ">" + book.sharedStrings + "</sst>"});
    }
    parts.push_back(
        {.name = "xl/workbook.xml",
         .text =
             "<workbook" + std::string(kMain) +
             R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name=")" +
             book.sheetName + R"(" sheetId="1" r:id="rId1"/></sheets>)" + book.workbookExtra +
             "</workbook>"});
    parts.push_back({.name = "xl/_rels/workbook.xml.rels", .text = relations + "</Relationships>"});
    parts.push_back({.name = "xl/worksheets/sheet1.xml",
                     .text = "<worksheet" + std::string(kMain) + "><sheetData>" + book.sheetData +
                             "</sheetData></worksheet>",
                     .stored = book.storedSheet,
                     .emptyBlocks = book.emptyBlocks});
    return Zip(parts);
}

// The header 外径, 壁厚, 弯曲半径 as inline strings, then one row: its outer diameter's cell as
// given, 4 and 76.
std::string Tube(const std::string& outerCell) {
    const auto text = [](const char* column, const char* value) {
        return std::string(R"(<c r=")") + column + R"(1" t="inlineStr"><is><t>)" + value +
               "</t></is></c>";
    };
    return R"(<row r="1">)" + text("A", "外径") + text("B", "壁厚") + text("C", "弯曲半径") +
           R"(</row><row r="2">)" + outerCell +
           R"(<c r="B2"><v>4</v></c><c r="C2"><v>76</v></c></row>)";
}

// tongqiu-batch on a workbook (or what poses as one), into `output`.
batch::Outcome RunOn(const std::string& file, const std::string& output = "out.csv") {
    return batch::RunOn(file, {}, "in.xlsx", output);
}

// The second row as written, without the BOM and the header.
std::string SecondRow(const batch::Outcome& run) {
    const auto start = run.output.find('\n') + 1;
    return run.output.substr(start, run.output.find('\r', start) - start);
}

// Every row's shown texts, or the refusal's message.
std::vector<std::vector<std::string>> SheetRows(const std::string& file) {
    BytesSource in(file);
    auto reader = WorkbookReader::Open(in);
    if (!reader) return {{TableErrorMessage(reader.error())}};
    std::vector<std::vector<std::string>> rows;
    const auto error = reader->ReadSheet(0, [&](const TableRow& row) {
        rows.push_back(row.cells);
        return std::nullopt;
    });
    if (error) rows.push_back({TableErrorMessage(*error)});
    return rows;
}

TEST(WorkbookReader, ShowsSharedAndInlineStringsBooleansErrorsBuiltInFormatsAndDates) {
    Book book{.sheetData = R"(<row r="1"><c t="s"><v>0</v></c><c t="s"><v>1</v></c>)"
                           R"(<c t="inlineStr"><is><t>弯曲半径</t></is></c></row>)"
                           R"(<row r="3"><c s="1"><v>2.675</v></c><c t="b"><v>1</v></c>)"
                           R"(<c t="b"><v>0</v></c><c t="e"><v>#N/A</v></c><c><v>.05</v></c>)"
                           R"(<c s="2"><v>44897</v></c></row>)",
              .workbookExtra = R"(<workbookPr date1904="1"/>)"};  // dates count from 1904
    book.sharedStrings =
        "<si><t>外径</t></si><si><r><t>壁</t></r><r><t>厚</t></r>"
        "<rPh><t>へき</t></rPh></si>";
    book.cellStyles = R"(<xf numFmtId="0"/><xf numFmtId="2"/><xf numFmtId="14"/>)";
    book.storedSheet = true;
    EXPECT_EQ(SheetRows(Workbook(book)),
              (std::vector<std::vector<std::string>>{
                  {"外径", "壁厚", "弯曲半径"},
                  {},
                  {"2.68", "TRUE", "FALSE", "#N/A", "0.05", "2026-12-3"}}));
}

// A sheet whose first 64 KB of deflated data inflate to nothing (empty blocks) is read whole.
TEST(WorkbookReader, APartIsReadPastDataThatInflatesToNothing) {
    Book book{.sheetData = Tube(R"(<c r="A2"><v>38</v></c>)"), .emptyBlocks = 20'000};
    EXPECT_EQ(SheetRows(Workbook(book)), (std::vector<std::vector<std::string>>{
                                             {"外径", "壁厚", "弯曲半径"}, {"38", "4", "76"}}));
}

TEST(WorkbookReader, ASheetEndsAtASpreadsheetsLastRow) {
    for (const long last : {1'048'576L, 1'048'577L}) {
        BytesSource in(Workbook({Tube("") + "<row r=\"" + std::to_string(last) + "\"/>"}));
        auto reader = WorkbookReader::Open(in);
        ASSERT_TRUE(reader);
        long rows = 0;
        const auto error = reader->ReadSheet(0, [&](const TableRow& row) {
            rows = row.line;
            return std::nullopt;
        });
        EXPECT_EQ(error ? error->fault : TableFault::Empty,
                  last > 1'048'576 ? TableFault::BadRowNumber : TableFault::Empty);
        EXPECT_EQ(rows, last > 1'048'576 ? 2 : last);
    }
}

// A workbook from a pipe, longer than one block, is read whole.
TEST(WorkbookReader, AWorkbookFromAPipeIsReadWhole) {
    Book book{.sheetData = Tube(R"(<c r="A2"><v>38</v></c>)"), .storedSheet = true};
    for (int row = 3; row <= 3000; ++row) {
        book.sheetData += "<row r=\"" + std::to_string(row) +
                          R"("><c><v>38</v></c><c><v>4</v></c><c><v>76</v></c></row>)";
    }
    std::string file = Workbook(book);
    ASSERT_GT(file.size(), std::size_t{1} << 17);
    batch::PipeBuffer pipe(file);
    std::istream in(&pipe);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(batch::RunBatch({"-o", "-"}, in, out, err), 0) << err.str();
    EXPECT_EQ(SheetRows(out.str()).size(), 3000U);  // the results, a workbook as the input
}

// A CSV cell that is a plain decimal becomes a number that shows as it did; anything else a
// number would change ("0123", a drawing number; ".5"; "1e3"; "3.") stays the text it was.
TEST(WorkbookReader, ACsvDecimalWrittenToAWorkbookIsANumberShownAsItWasAndTheRestText) {
    const std::pair<const char*, bool> cells[] = {
        {"-3.50", true}, {"0", true},   {"0.25", true}, {"123456789012345", true},
        {"0123", false}, {"07", false}, {".5", false},  {"3.", false},
        {"1e3", false},  {"-", false},  {"+3", false},  {"1234567890123456", false},
        {"3,5", false},
    };
    std::string csv = "外径,壁厚,弯曲半径";
    for (std::size_t i = 0; i < std::size(cells); ++i) csv += ",备注";
    csv += "\n38,4,76";
    for (const auto& [text, number] : cells) csv += std::string(",\"") + text + "\"";
    const batch::Outcome run = RunOn(csv + "\n", "out.xlsx");
    EXPECT_EQ(run.status, 0) << run.err;
    BytesSource in(run.output);
    auto reader = WorkbookReader::Open(in);
    ASSERT_TRUE(reader);
    std::vector<TableRow> rows;
    (void)reader->ReadSheet(0, [&](const TableRow& row) {
        rows.push_back(row);
        return std::nullopt;
    });
    ASSERT_EQ(rows.size(), 2U);
    for (std::size_t i = 0; i < std::size(cells); ++i) {
        EXPECT_EQ(rows[1].cells[3 + i], cells[i].first);
        EXPECT_EQ(rows[1].values[3 + i].kind == CellValue::Kind::Number, cells[i].second)
            << cells[i].first;
    }
    EXPECT_EQ(rows[1].cells[3 + std::size(cells)], "30.00");
}

// A number's cell is read as its format shows it: a dimension as the number shown, refused where
// it shows a date, a time, a percent or a fraction; a kept cell as its text. The workbook written
// shows the same texts, every format it uses declared in it, whatever number the input gave it
// (Gnumeric's 100, SheetJS's 60).
TEST(WorkbookReader, NumbersAreReadAsTheirFormatsShowThemAndWrittenSo) {
    const std::string formats =
        R"(<numFmt numFmtId="100" formatCode="0.0"/><numFmt numFmtId="60" formatCode="yyyy-mm-dd"/>)"
        R"(<numFmt numFmtId="164" formatCode="#,##0"/><numFmt numFmtId="165" formatCode="0.0&quot;mm&quot;"/>)"
        R"x(<numFmt numFmtId="166" formatCode="0.00_);(0.00)"/><numFmt numFmtId="167" formatCode="0.0%"/>)x"
        R"(<numFmt numFmtId="2" formatCode="0.000"/>)"  // a code of the workbook's own wins
        R"(<numFmt numFmtId="168" formatCode="yyyy-mm-dd hh:mm:ss"/>)";
    const std::string styles =
        R"(<xf numFmtId="0"/><xf numFmtId="100"/><xf numFmtId="60"/><xf numFmtId="164"/>)"
        R"(<xf numFmtId="165"/><xf numFmtId="166"/><xf numFmtId="167"/><xf numFmtId="2"/>)"
        R"(<xf numFmtId="31"/><xf numFmtId="168"/>)";
    const auto cell = [](int style, const std::string& value, const char* type = "") {
        return "<c s=\"" + std::to_string(style) + "\"" + type + "><v>" + value + "</v></c>";
    };
    struct Case {
        std::string cells;  // 外径, 壁厚, 弯曲半径, 检验日期
        std::string shown;  // the row as CSV, up to 内径
        const char* explanation;
    };
    const std::string date = cell(2, "46359");
    const Case cases[] = {
        {cell(1, "38.04") + cell(0, "4") + cell(3, "3000") + date,
         "38.0,4,\"3,000\",2026-12-03,30.00", ""},
        {cell(4, "38.04") + cell(7, "4") + cell(0, "76") + cell(8, "46359"),
         "38.0mm,4.000,76,2026年12月3日,30.00", ""},
        {cell(5, "38") + cell(0, "4") + cell(0, "76") + R"(<c t="d"><v>2026-02-28</v></c>)",
         "38.00 ,4,76,2026-02-28,30.00", ""},
        {cell(5, "-38") + cell(0, "4") + cell(0, "76") + date, "(38.00),4,76,2026-12-03,", ""},
        {cell(0, "-38") + cell(0, "4") + cell(0, "76") +
             R"(<c t="d"><v>2026-12-31T00:00:00.000Z</v></c>)",
         "-38,4,76,2026-12-31,", ""},
        {cell(0, "89") + cell(0, "4") + cell(3, "9000") +
             R"(<c s="9" t="d"><v>2026-04-30T10:20:30.600Z</v></c>)",
         "89,4,\"9,000\",2026-04-30 10:20:31,81.00", ""},
        {cell(0, "38") + cell(6, "0.04") + cell(0, "76") + date, "38,4.0%,76,2026-12-03,",
         "壁厚显示为百分比 4.0%，不是尺寸。"},
        {cell(0, "38") + cell(0, "4") + cell(2, "46359") + date, "38,4,2026-12-03,2026-12-03,",
         "弯曲半径显示为日期 2026-12-03，不是尺寸。"},
    };
    std::string rows =
        R"(<row r="1"><c t="inlineStr"><is><t>外径</t></is></c><c t="inlineStr"><is><t>壁厚</t></is></c>)"
        R"(<c t="inlineStr"><is><t>弯曲半径</t></is></c><c t="inlineStr"><is><t>检验日期</t></is></c></row>)";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rows += "<row r=\"" + std::to_string(i + 2) + "\">" + cases[i].cells + "</row>";
    }
    Book book{.sheetData = rows, .cellStyles = styles, .numberFormats = formats};
    const std::string file = Workbook(book);
    const batch::Outcome csv = RunOn(file);
    EXPECT_EQ(csv.err.find("未知"), std::string::npos) << csv.err;
    std::vector<std::string> lines;
    for (std::size_t start = csv.output.find('\n') + 1; start < csv.output.size();) {
        const auto end = csv.output.find("\r\n", start);
        lines.push_back(csv.output.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_TRUE(lines[i].starts_with(cases[i].shown)) << lines[i];
        EXPECT_TRUE(lines[i].ends_with(cases[i].explanation)) << lines[i];
    }
    // A negative in parentheses is refused as the same negative typed plainly is.
    EXPECT_EQ(lines[3].substr(lines[3].rfind(',')), lines[4].substr(lines[4].rfind(',')));
    EXPECT_NE(lines[3].substr(lines[3].rfind(',')), ",");
    const batch::Outcome workbook = RunOn(file, "out.xlsx");
    const auto written = SheetRows(workbook.output);
    ASSERT_EQ(written.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string shown;
        for (std::size_t column = 0; column < 5; ++column) {
            const std::string& text = written[i + 1][column];
            shown += (column > 0 ? "," : "") +
                     (text.find(',') != std::string::npos ? "\"" + text + "\"" : text);
        }
        EXPECT_EQ(shown, cases[i].shown) << "written";
    }
}

TEST(HostileWorkbook, OnlyAFiniteDecimalIsANumberAndTheRestIsItsText) {
    const std::string computed =
        ",4,76,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,24.00,24.00,24.00,";
    const std::string refused = ",4,76" + std::string(12, ',') + "输入的不是数字。请检查“外径”。";
    const std::string tooLarge =
        ",4,76" + std::string(12, ',') + "数值溢出：数值太大，或无法计算。请检查“外径”。";
    struct Case {
        const char* stored;
        const char* general;    // shown in General
        const char* twoPlaces;  // shown in 0.00
        const std::string& rest;
    };
    const Case cases[] = {
        {"38", "38", "38.00", computed},       {"3.8e1", "38", "38.00", computed},
        {"inf", "inf", "inf", refused},        {"-nan", "-nan", "-nan", refused},
        {"--40", "--40", "--40", refused},     {"0x10", "0x10", "0x10", refused},
        {"1e400", "1e400", "1e400", tooLarge}, {"", "", "", refused},
    };
    for (const Case& c : cases) {
        for (const bool twoPlaces : {false, true}) {
            const std::string style = twoPlaces ? R"( s="1")" : "";
            Book book{.sheetData = Tube(R"(<c r="A2")" + style + "><v>" + c.stored + "</v></c>")};
            book.cellStyles = R"(<xf numFmtId="0"/><xf numFmtId="2"/>)";
            const batch::Outcome run = RunOn(Workbook(book));
            EXPECT_EQ(SecondRow(run), (twoPlaces ? c.twoPlaces : c.general) + c.rest)
                << c.stored << style;
            EXPECT_EQ(run.status, &c.rest == &computed ? 0 : 1) << c.stored << run.err;
        }
    }
}

TEST(HostileWorkbook, ACellWithoutAStyleShowsInTheDefaultStylesFormat) {
    for (const char* cell :
         {R"(<c r="A2"><v>38.123</v></c>)", R"(<c r="A2" s="0"><v>38.123</v></c>)"}) {
        Book book{.sheetData = Tube(cell)};
        book.cellStyles = R"(<xf numFmtId="164"/><xf numFmtId="0"/>)";
        book.numberFormats = R"(<numFmt numFmtId="164" formatCode="0.00"/>)";
        EXPECT_TRUE(SecondRow(RunOn(Workbook(book))).starts_with("38.12,4.00,76.00,30.12,"))
            << cell;
    }
    Book general{.sheetData = Tube(R"(<c r="A2" s="1"><v>38.123</v></c>)")};
    general.cellStyles = R"(<xf numFmtId="2"/><xf numFmtId="0"/>)";
    EXPECT_TRUE(SecondRow(RunOn(Workbook(general))).starts_with("38.123,4.00,76.00,30.12,"));
}

TEST(HostileWorkbook, AZipThatIsNoWorkbookIsRefusedAsAWorkbook) {
    const std::string book = Workbook({Tube(R"(<c r="A2"><v>38</v></c>)")});
    const std::pair<std::string, const char*> cases[] = {
        {Zip({}), "不是 Excel 工作簿（.xlsx）：ZIP 中没有 xl/workbook.xml。"},
        {"#!/bin/sh\n" + book, "ZIP 文件已损坏或不完整。"},  // offsets no longer fit
        // The same with a comment at the ZIP's end, which its last record counts.
        {"#!/bin/sh\n" + book.substr(0, book.size() - 2) + std::string("\x01\x00x", 3),
         "ZIP 文件已损坏或不完整。"},
        {book.substr(0, book.size() / 2) + book.substr(book.size() - 22),
         "ZIP 文件已损坏或不完整。"},
    };
    for (const auto& [file, message] : cases) {
        const batch::Outcome run = RunOn(file);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.ends_with(std::string("in.xlsx：") + message + "\n")) << run.err;
    }
}

TEST(HostileWorkbook, ASheetKeepsItsNameWhereAWorkbookAllowsItAndIsToldOtherwise) {
    const std::pair<std::string, std::string> cases[] = {
        {"管子 2026", "管子 2026"},
        {"a[1]:b*?/\\c", "a_1__b____c"},
        {"'引号'", "_引号_"},
        {std::string(40, 'x'), std::string(31, 'x')},
        {std::string(5000, 'x'), std::string(31, 'x')},  // grows the XML parser's buffers
        {std::string(30, 'x') + "\xF0\x9F\x98\x80", std::string(30, 'x')},  // 😀 counts two
    };
    for (const auto& [name, written] : cases) {
        Book book{.sheetData = Tube(R"(<c r="A2"><v>38</v></c>)"), .sheetName = name};
        const batch::Outcome run = RunOn(Workbook(book), "out.xlsx");
        EXPECT_EQ(run.status, 0) << run.err;
        BytesSource out(run.output);
        auto reader = WorkbookReader::Open(out);
        ASSERT_TRUE(reader) << TableErrorMessage(reader.error());
        EXPECT_EQ(reader->SheetNames(), (std::vector<std::string>{written, "通球记录"}));
        const std::string told = std::string("in.xlsx：工作表名“")
                                     .append(name)
                                     .append("”在工作簿中不能用，结果的工作表名改为“")
                                     .append(written)
                                     .append("”。\n");
        EXPECT_EQ(run.err.ends_with(told), name != written) << run.err;
        EXPECT_EQ(run.err.find("改为") != std::string::npos, name != written) << run.err;
    }
}

// Each limit: just within it the workbook is read; past it, refused in words naming the part.
TEST(HostileWorkbook, TextsFormatsNestingAndTokensAreBounded) {
    const auto repeat = [](std::string_view text, std::size_t times) {
        std::string repeated;
        for (std::size_t i = 0; i < times; ++i) repeated += text;
        return repeated;
    };
    const auto longText = [&](std::size_t characters) { return repeat("中", characters); };
    const auto sharedCells = [&](int count) {
        return R"(<row r="3">)" + repeat(R"(<c t="s"><v>0</v></c>)", count) + "</row>";
    };
    const auto nested = [&](int depth) { return repeat("<x>", depth) + repeat("</x>", depth); };
    const auto format = [](std::size_t characters) {
        return R"(<numFmt numFmtId="164" formatCode=")" + std::string(characters - 4, '0') +
               R"(.000"/>)";
    };
    struct Case {
        const char* what;
        Book book;
        const char* part;  // none: read
        const char* message;
    };
    const std::string within = Tube(R"(<c r="A2"><v>38</v></c>)");
    const Case cases[] = {
        {"an inline string",
         {.sheetData = within + R"(<row r="3"><c t="inlineStr"><is><t>)" + longText(32767) +
                       "</t></is></c></row>"}},
        {"an inline string",
         {.sheetData = within + R"(<row r="3"><c t="inlineStr"><is><t>)" + longText(32768) +
                       "</t></is></c></row>"},
         "in.xlsx 第 3 行：xl/worksheets/sheet1.xml：",
         "单元格的文本超过 32767 个字符（电子表格单元格的上限）。"},
        {"a shared string",
         {.sheetData = within, .sharedStrings = "<si><t>" + longText(32768) + "</t></si>"},
         "in.xlsx：xl/sharedStrings.xml：",
         "共享字符串的文本超过 32767 个字符（电子表格单元格的上限）。"},
        {"a row",
         {.sheetData = within + sharedCells(11),
          .sharedStrings = "<si><t>" + longText(32767) + "</t></si>"},
         "in.xlsx 第 3 行：xl/worksheets/sheet1.xml：",
         "一行的文本超过 1 MB，表格中不应有。"},
        {"the last column", {.sheetData = within + R"(<row r="3"><c r="XFD3"><v>1</v></c></row>)"}},
        {"a column",
         {.sheetData = within + R"(<row r="3"><c r="XFE3"><v>1</v></c></row>)"},
         "in.xlsx 第 3 行：xl/worksheets/sheet1.xml：",
         "列数超过 16384。"},
        {"a row of 1 MB",
         {.sheetData = within + R"(<row r="3">)" + repeat(R"(<c t="s"><v>0</v></c>)", 32) +
                       R"(<c t="inlineStr"><is><t>)" + std::string(32, 'a') + "</t></is></c></row>",
          .sharedStrings = "<si><t>" + std::string(32767, 'a') + "</t></si>"}},
        {"a format code",
         {.sheetData = within,
          .cellStyles = R"(<xf numFmtId="164"/>)",
          .numberFormats = format(255)}},
        {"a format code",
         {.sheetData = within,
          .cellStyles = R"(<xf numFmtId="164"/>)",
          .numberFormats = format(256)},
         "in.xlsx：xl/styles.xml：",
         "数字格式代码超过 255 个字符（电子表格的上限）。"},
        {"nesting", {.sheetData = within, .workbookExtra = nested(31)}},
        {"nesting",
         {.sheetData = within, .workbookExtra = nested(32)},
         "in.xlsx：xl/workbook.xml：",
         "元素嵌套超过 32 层，工作簿中不应有。"},
        {"a token",
         {.sheetData = within, .workbookExtra = R"(<x a=")" + std::string(400'000, 'a') + R"("/>)"},
         "in.xlsx：xl/workbook.xml：",
         "XML 中有超过 256 KB 的单个标记，工作簿中不应有。"},
        {"inflation",
         {.sheetData = within,
          .sharedStrings =
              "<si><t>a</t></si>" + std::string(ZipArchive::kInflationAllowance + (32 << 20), ' ')},
         "in.xlsx：xl/sharedStrings.xml：",
         "解压后过大，可能是恶意文件。"},
    };
    for (const Case& c : cases) {
        const batch::Outcome run = RunOn(Workbook(c.book));
        if (c.part == nullptr) {
            EXPECT_NE(run.status, 2) << c.what << ": " << run.err;
        } else {
            EXPECT_TRUE(run.err.ends_with(std::string(c.part) + c.message + "\n"))
                << c.what << ": " << run.err;
        }
    }
}

}  // namespace
}  // namespace tongqiu::table
