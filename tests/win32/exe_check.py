#!/usr/bin/python3
"""bottles.exe as a file, read on the build machine by kept tools: its headers,
imports and version record by pefile, its icon by icoutils and ImageMagick.

Usage: exe_check.py <bottles.exe> <i386|amd64> <drawing.xpm> <most bytes> <mingw gcc>
"""
import os
import subprocess
import sys
import tempfile

import pefile

exe, machine, drawing, most, gcc = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
failures = 0


def check(good, what, detail=""):
    global failures
    if good:
        print(f"ok: {what}")
    else:
        failures += 1
        print(f"FAIL: {what}{': ' + str(detail) if detail != '' else ''}")


def run(*command, **options):
    return subprocess.run(command, check=True, capture_output=True, **options).stdout


pe = pefile.PE(exe)
header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
want_machine, want_magic = {"i386": (0x14C, 0x10B), "amd64": (0x8664, 0x20B)}[machine]
check(header.Machine == want_machine, f"an {machine} program", hex(header.Machine))
check(optional.Magic == want_magic, "PE32" if want_magic == 0x10B else "PE32+", hex(optional.Magic))
check(optional.Subsystem == 2, "the Windows GUI subsystem", optional.Subsystem)
for flag, option in (("IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE", "--dynamicbase"),
                     ("IMAGE_DLLCHARACTERISTICS_NX_COMPAT", "--nxcompat")):
    check(optional.DllCharacteristics & pefile.DLL_CHARACTERISTICS[flag], flag[25:], f"link with -Wl,{option}")
# Address randomisation can move only an image that keeps its relocations.
relocations = optional.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
check(relocations.Size > 0 and not header.Characteristics & 1, "relocations kept")

# Windows' own DLLs only; the screen-reader ones (ole32, oleaut32, oleacc) are
# loaded when a screen reader first asks, not at every start.
system = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "comctl32.dll", "advapi32.dll",
          "shell32.dll", "version.dll"}
imports = sorted(entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []))
check(imports and set(imports) <= system, "imports from Windows' own DLLs only: " + " ".join(imports),
      sorted(set(imports) - system))

# Windows XP SP3 and later: the header says 5.1, and every function imported
# from the system's DLLs is one that MinGW-w64's headers declare for XP
# (_WIN32_WINNT=0x0501 hides the later ones), or, from msvcrt.dll, for its XP
# version (__MSVCRT_VERSION__=0x0700).
check((optional.MajorOperatingSystemVersion, optional.MinorOperatingSystemVersion,
       optional.MajorSubsystemVersion, optional.MinorSubsystemVersion) == (5, 1, 5, 1),
      "the header says Windows XP (5.1)", (optional.MajorOperatingSystemVersion, optional.MinorOperatingSystemVersion,
                                           optional.MajorSubsystemVersion, optional.MinorSubsystemVersion))
# The CRT's start-up entries, which no public header declares; msvcrt.dll has
# had each of them since Windows 2000.
startup = {"__p__commode", "__p__fmode", "_commode", "__p__wcmdln", "__set_app_type", "__setusermatherr", "__wgetmainargs",
           "__winitenv", "_amsg_exit", "_initterm", "_setjmp3"}
names = sorted({i.name.decode() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) for i in entry.imports
                if i.name is not None} - startup)
uses = "".join(f"  (void)&{name};\n" for name in names)
source = ("#define _WIN32_WINNT 0x0501\n#define WINVER 0x0501\n#define __MSVCRT_VERSION__ 0x0700\n"
          "#include <windows.h>\n#include <io.h>\n#include <process.h>\n#include <setjmp.h>\n#include <signal.h>\n"
          "#include <stdio.h>\n#include <stdlib.h>\n#include <string.h>\n"
          f"void uses(void) {{\n{uses}}}\n")
compiled = subprocess.run([gcc, "-x", "c", "-fsyntax-only", "-Werror=implicit-function-declaration", "-"],
                          input=source.encode(), capture_output=True)
check(compiled.returncode == 0, f"all {len(names)} imports are on Windows XP",
      " ".join(line for line in compiled.stderr.decode().split("\n") if "undeclared" in line))

# The version record: 1.00, in Bulgarian.
fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
check(fixed is not None and (fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS,
                             fixed.ProductVersionLS) == (0x10000, 0, 0x10000, 0), "fixed file and product version 1.0")
strings = {}
for info in getattr(pe, "FileInfo", [[]])[0]:
    for table in getattr(info, "StringTable", []):
        check(table.LangID == b"040204B0", "string table in Bulgarian, UTF-16", table.LangID)
        strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
for key, value in (("FileVersion", "1.00"), ("ProductVersion", "1.00"), ("ProductName", "bottles"),
                   ("FileDescription", "Бутилки - логическа задача")):
    check(strings.get(key) == value, f'{key} "{value}"', strings.get(key))


def resources(kind):
    for entry in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None).entries:
        if entry.id == kind:
            for name in entry.directory.entries:
                for language in name.directory.entries:
                    yield pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)


manifest = b"".join(resources(pefile.RESOURCE_TYPE["RT_MANIFEST"])).decode()
check(">true/pm</dpiAware>" in manifest and ">PerMonitorV2,PerMonitor</dpiAwareness>" in manifest,
      "the manifest asks for per-monitor DPI")

# The icon group, as Windows picks from it: every size of 100 % to 200 % in
# 16 colours with a mask (Windows XP's kind), 32 x 32 pixel for pixel the
# drawing, and 256 x 256 stored as a PNG, as Vista and later read it.
with tempfile.TemporaryDirectory() as scratch:
    ico = os.path.join(scratch, "bottles.ico")
    run("wrestool", "--extract", "--type=group_icon", f"--output={ico}", exe)
    listing = run("icotool", "--list", ico).decode().split("\n")
    sides = sorted(int(line.split("--width=")[1].split()[0]) for line in listing if "--width=" in line)
    check(sides == [16, 20, 24, 32, 40, 48, 64, 256], "icons of 16, 20, 24, 32, 40, 48, 64 and 256 pixels", sides)
    for side in (16, 20, 24, 32, 40, 48, 64):
        check(any(f"--width={side} --height={side} --bit-depth=4 --palette-size=16" in line for line in listing),
              f"the {side} x {side} icon in 16 colours", listing)
    icons = list(resources(pefile.RESOURCE_TYPE["RT_ICON"]))
    png = [data for data in icons if data.startswith(b"\x89PNG\r\n\x1a\n")]
    check(len(png) == 1 and b"IHDR\x00\x00\x01\x00\x00\x00\x01\x00" in png[0][:32],
          "one image stored as a PNG, of 256 x 256", [data[:16] for data in png])
    run("icotool", "--extract", "--width=256", "--height=256", f"--output={scratch}/big.png", ico)
    sampled = os.path.join(scratch, "sampled.png")
    run("convert", drawing, "-sample", "256x256", f"png32:{sampled}")
    differ = subprocess.run(["compare", "-metric", "AE", sampled, f"{scratch}/big.png", "null:"], capture_output=True)
    check(differ.stderr.strip() == b"0", "the 256 x 256 icon is the drawing, its pixels eight times over",
          differ.stderr.decode())
    run("icotool", "--extract", "--width=32", "--height=32", f"--output={scratch}", ico)
    png = [os.path.join(scratch, f) for f in os.listdir(scratch) if f.endswith(".png") and "32x32" in f]
    check(len(png) == 1, "its image extracts")
    if len(png) == 1:
        want = os.path.join(scratch, "drawing.png")
        run("convert", drawing, f"png32:{want}")
        differ = subprocess.run(["compare", "-metric", "AE", want, png[0], "null:"], capture_output=True)
        check(differ.stderr.strip() == b"0", "its pixels and mask are the drawing's", differ.stderr.decode())
        clear = float(run("convert", png[0], "-alpha", "extract", "-negate", "-format", "%[fx:mean]", "info:"))
        check(0 < clear < 1, "the mask has clear and opaque pixels", clear)

size = os.path.getsize(exe)
check(size <= most, f"{size} bytes, at most {most}")
sys.exit(1 if failures else 0)
