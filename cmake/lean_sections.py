#!/usr/bin/env python3
"""The release programs' linker script: the linker's own default, with fewer sections.

  lean_sections.py LD OUT

Every section of a Windows program takes at least one 512-byte block of the
file, so the handful of bytes in .CRT, .tls and .xdata cost a block each.
This script moves them into .data and .rdata, where their bytes join
others'. The C runtime's unwind tables (.eh_frame) are dropped: on i686
nothing reads them (no exceptions; the unwinder that would register them is
not linked), and x64 unwinds through .pdata and .xdata. crtbegin's and
crtend's frames stay: crtbegin reads the first word of its own. So do the
compiler's name and version that every object file carries (.rdata$zzz). .edata,
.idata, .pdata, .rsrc and .reloc keep their own sections, since the linker
finds their directories by section name.

Fails, naming the anchor, when the linker's default script has changed shape.
"""
import re
import subprocess
import sys

ld, out = sys.argv[1], sys.argv[2]
verbose = subprocess.run([ld, "--verbose"], check=True, capture_output=True, text=True).stdout
parts = verbose.split("=" * 50 + "\n")
if len(parts) < 3:
    sys.exit(f"{ld} --verbose printed no default script")
script = parts[1]


def fail(what):
    sys.exit(f"{ld}'s default script has changed: {what} not found")


def take(name):
    """Removes the output section NAME and returns the statements inside it."""
    global script
    found = re.search(r"\n  " + re.escape(name) + r" BLOCK\(__section_alignment__\) :\n  \{\n(.*?)\n  \}\n",
                      script, re.S)
    if not found:
        fail(f"section {name}")
    script = script[:found.start()] + "\n" + script[found.end():]
    return found.group(1) + "\n"


def put(anchor, text, after=True):
    global script
    if script.count(anchor) != 1:
        fail(repr(anchor))
    script = script.replace(anchor, anchor + text if after else text + anchor)


tls = take(".tls")
crt = take(".CRT")
take(".eh_frame")
xdata = take(".xdata") if "\n  .xdata BLOCK" in script else ""

# TLS data first in .data: code that addresses it does so relative to its section's start.
put("    __data_start__ = . ;\n", tls, after=False)
# The start-up tables after the data; .CRT$XD* (TLS initialisers) was placed there unnamed.
put("    *(.data_cygwin_nocopy)\n", crt + "    KEEP (*(SORT(.CRT$XD*)))\n")
# Before the pseudo-relocation list: the symbols after .rdata mark that list's end.
put("     *(SORT(.rdata$*))\n",
    xdata + "    KEEP (*crtbegin.o(.eh_frame))\n    KEEP (*crtend.o(.eh_frame))\n")
put("  /DISCARD/ :\n  {\n", "    *(.eh_frame*)\n")
# The compiler's name and version, one copy from every object file; nothing reads them. Before
# .rdata, whose .rdata$* would take them first.
put("  .rdata BLOCK", "  /DISCARD/ :\n  {\n    *(.rdata$zzz)\n  }\n", after=False)

open(out, "w").write(script)
