"""Workbooks under 1 MB made to take memory and time, through tongqiu-batch, measured.

Usage: hostile_workbooks.py TONGQIU_BATCH          runs each, prints its time and peak memory,
                                                   and fails past a generous bound
       hostile_workbooks.py --corpus FOLDER        writes them there (seeds for the fuzzer)
Each must be read or refused; none may leave an output behind when refused.
"""
import io
import os
import pathlib
import resource
import subprocess
import sys
import tempfile
import time
import zipfile

MAIN = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
RELS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
HEADER = ('<row r="1"><c t="inlineStr"><is><t>外径</t></is></c><c t="inlineStr"><is><t>壁厚</t>'
          '</is></c><c t="inlineStr"><is><t>弯曲半径</t></is></c></row>')


def workbook(sheet_data=b"", sheets=1, shared=None, styles=None):
    """A deflated workbook of `sheets` sheet entries that all name one sheet part."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as book:
        entries = "".join(f'<sheet name="S{i}" sheetId="{i + 1}" r:id="rId1"/>'
                          for i in range(sheets))
        book.writestr("xl/workbook.xml",
                      f'<workbook {MAIN} xmlns:r="{RELS}"><sheets>{entries}</sheets></workbook>')
        relations = (f'<Relationship Id="rId1" Type="{RELS}/worksheet" '
                     'Target="worksheets/sheet1.xml"/>')
        if shared is not None:
            relations += (f'<Relationship Id="rId2" Type="{RELS}/sharedStrings" '
                          'Target="sharedStrings.xml"/>')
            write_pieces(book, "xl/sharedStrings.xml", [f"<sst {MAIN}>".encode(), *shared, b"</sst>"])
        if styles is not None:
            relations += f'<Relationship Id="rId3" Type="{RELS}/styles" Target="styles.xml"/>'
            book.writestr("xl/styles.xml", f"<styleSheet {MAIN}>{styles}</styleSheet>")
        book.writestr("xl/_rels/workbook.xml.rels",
                      '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                      f'relationships">{relations}</Relationships>')
        pieces = sheet_data if isinstance(sheet_data, list) else [sheet_data]
        write_pieces(book, "xl/worksheets/sheet1.xml",
                     [f"<worksheet {MAIN}><sheetData>".encode(), *pieces,
                      b"</sheetData></worksheet>"])
    return out.getvalue()


def write_pieces(book, name, pieces):
    with book.open(name, "w", force_zip64=False) as part:
        for piece in pieces:
            part.write(piece)


def repeat(text, times, chunk=1 << 16):
    """`text` `times` times, in pieces, without holding it all."""
    whole, rest = divmod(times, chunk)
    return [text * chunk] * whole + [text * rest]


def cases():
    """(what, workbook, refused) for each way found to make a small file costly."""
    million_zeros = "0" * 1_000_000
    big = "中" * 32767
    row_of = lambda cells: f'<row r="2">{cells}</row>'.encode()  # noqa: E731
    yield ("a format code of a million zeros on 1,000 cells",
           workbook(HEADER.encode() + row_of('<c s="1"><v>1</v></c>' * 1000),
                    styles=f'<numFmts><numFmt numFmtId="164" formatCode="{million_zeros}"/></numFmts>'
                           '<cellXfs><xf numFmtId="0"/><xf numFmtId="164"/></cellXfs>'), True)
    yield ("1,000 styles naming one long format code",
           workbook(HEADER.encode(),
                    styles=f'<numFmts><numFmt numFmtId="164" formatCode="{million_zeros}"/></numFmts>'
                           '<cellXfs>' + '<xf numFmtId="164"/>' * 1000 + '</cellXfs>'), True)
    yield ("1,000 cells naming one longest shared string",
           workbook(HEADER.encode() + row_of('<c t="s"><v>0</v></c>' * 1000),
                    shared=[f"<si><t>{big}</t></si>".encode()]), True)
    yield ("rows each naming one longest shared string ten times",
           workbook([HEADER.encode()] + repeat(b'<row>' + b'<c t="s"><v>0</v></c>' * 10 + b'</row>',
                                               100_000),
                    shared=[f"<si><t>{big}</t></si>".encode()]), True)
    yield ("ten million nested elements", workbook(repeat(b"<x>", 10_000_000)), True)
    yield ("20 million empty shared strings",
           workbook(HEADER.encode(), shared=repeat(b"<si/>", 20_000_000)), True)
    yield ("one 16 MB attribute",
           workbook([b'<row r="1" x="'] + repeat(b"a", 16 << 20) + [b'"/>']), True)
    yield ("1,000 sheet entries naming one 100 MB part",
           workbook(repeat(b" ", 100 << 20), sheets=1000), True)
    yield ("1,000 sheet entries naming one sheet whose only row is the last",
           workbook(b'<row r="1048576"><c><v>1</v></c></row>', sheets=1000), True)
    prefix = b"e" * 200
    yield ("150,000 different long element names",
           workbook([b"".join(b"<%s%d/>" % (prefix, i) for i in range(n, n + 10_000))
                     for n in range(0, 150_000, 10_000)]), True)
    yield ("rows of 16,384 empty cells",
           workbook([HEADER.encode()] + repeat(b"<row>" + b"<c/>" * 16384 + b"</row>", 12_000, 100)),
           True)
    yield ("long texts made of character references, one in each row",
           workbook([HEADER.encode()] + repeat(b'<row><c t="inlineStr"><is><t>' + b"&#x4E2D;" * 32767
                                               + b"</t></is></c></row>", 1000, 10)), True)
    yield ("as many identical tubes as the allowance takes",
           workbook([HEADER.encode()] + repeat(b'<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c>'
                                               b'<c t="s"><v>2</v></c></row>', 300_000),
                    shared=[b"<si><t>38</t></si><si><t>4</t></si><si><t>76</t></si>"]), False)


def peak_run(command, memory):
    """Runs `command` under an address-space limit; its status, stderr, seconds and peak RSS."""
    limit = (lambda: resource.setrlimit(resource.RLIMIT_AS, (memory, memory))) if memory else None
    started = time.monotonic()
    with tempfile.TemporaryFile() as err:
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=err, preexec_fn=limit)
        _, status, usage = os.wait4(process.pid, 0)
        seconds = time.monotonic() - started
        err.seek(0)
        return os.waitstatus_to_exitcode(status), err.read().decode(), seconds, usage.ru_maxrss / 1024


def main():
    if sys.argv[1] == "--corpus":
        (folder := pathlib.Path(sys.argv[2])).mkdir(parents=True, exist_ok=True)
        for number, (_, content, _) in enumerate(cases()):
            (folder / f"hostile-{number:02}.xlsx").write_bytes(content)
        return 0
    batch = pathlib.Path(sys.argv[1]).resolve()
    sanitized = b"__asan_init" in batch.read_bytes()  # reserves terabytes of address space
    failures = []
    print(f"{'workbook':<60} {'size':>8} {'status':>6} {'seconds':>8} {'peak MB':>8}")
    with tempfile.TemporaryDirectory() as scratch:
        source, out = pathlib.Path(scratch) / "in.xlsx", pathlib.Path(scratch) / "out.csv"
        for what, content, refused in cases():
            source.write_bytes(content)
            status, err, seconds, peak = peak_run([batch, "-o", out, source],
                                                  None if sanitized else 256 << 20)
            print(f"{what:<60} {len(content):>8} {status:>6} {seconds:>8.2f} {peak:>8.1f}")
            problems = [f"status {status}: {err.strip()}"] if status != (2 if refused else 0) else []
            if status == 2 and len(list(source.parent.iterdir())) != 1:
                problems.append("a refusal left a file behind")
            if not sanitized and (seconds > 20 or peak > 128 or len(content) >= 1 << 20):
                problems.append("past the generous bound of 20 s and 128 MB, or not under 1 MB")
            for problem in problems:
                print(f"  FAILED: {problem}")
            failures.append(bool(problems))
            out.unlink(missing_ok=True)
    print(f"{failures.count(False)} passed, {sum(failures)} failed")
    return 1 if any(failures) else 0


if __name__ == "__main__":
    sys.exit(main())
