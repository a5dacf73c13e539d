"""LibreOffice Calc, headless, as a real client of the workbooks: it saves what the tests make and
shows what the program writes, through its CSV export with cells "as shown". It runs in Chinese
(zh-CN), as our users' spreadsheets do: dates, weekdays and 上午/下午 in Chinese."""
import csv
import pathlib
import subprocess
import tempfile

CSV_AS_SHOWN = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,{sheet}"
# The profile's setting of the language that formats follow, as a Chinese system's would give it.
CHINESE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse">
<value>zh-CN</value></prop></item>
</oor:items>
"""


def convert(files, target, folder):
    """Converts the files with one start of soffice; returns the paths written, in order."""
    with tempfile.TemporaryDirectory() as profile:
        (pathlib.Path(profile) / "user").mkdir()
        (pathlib.Path(profile) / "user" / "registrymodifications.xcu").write_text(CHINESE)
        subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                        "--convert-to", target, "--outdir", str(folder), *map(str, files)],
                       check=True, capture_output=True, timeout=180)
    extension = target.split(":")[0]
    # One sheet of several is written as NAME-SHEET.csv.
    return [next(pathlib.Path(folder).glob(f"{pathlib.Path(f).stem}*.{extension}")) for f in files]


def resave(files, folder):
    """The workbooks as LibreOffice saves them: shared strings, its styles, formulas' results."""
    return convert(files, "xlsx:Calc MS Excel 2007 XML", folder)


def shown(files, folder, sheet=1):
    """Each workbook's sheet as the rows of texts that LibreOffice shows."""
    written = convert(files, CSV_AS_SHOWN.format(sheet=sheet), folder)
    return [read_csv(path) for path in written]


def read_csv(path):
    with open(path, encoding="utf-8-sig", newline="") as file:
        return list(csv.reader(file))
