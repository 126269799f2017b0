#!/usr/bin/env python3
"""Makes a delay-import library for one system DLL from MinGW's ordinary
import library: the functions it names, bound on first call instead of when
the executable is loaded.

  make_delay_library.py --nm NM --dlltool DLLTOOL --import-lib LIBX.a
                        --dll X.dll --x86 0|1 --out LIBX_DELAY.a
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile


def exported_names(nm, import_lib, x86):
    listing = subprocess.run([nm, import_lib], check=True, capture_output=True,
                             text=True).stdout
    # Each imported function has a "__imp_" pointer symbol; on x86 the C
    # name carries a leading underscore and stdcall functions their "@N".
    prefix = "__imp__" if x86 else "__imp_"
    names = set()
    for line in listing.splitlines():
        match = re.match(r"^[0-9a-f]+ I (\S+)$", line.strip())
        if match and match.group(1).startswith(prefix):
            names.add(match.group(1)[len(prefix):])
    return sorted(names)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--dlltool", required=True)
    parser.add_argument("--import-lib", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--x86", type=int, required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    names = exported_names(args.nm, args.import_lib, args.x86)
    if not names:
        sys.exit("no functions found in %s" % args.import_lib)
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        definition = os.path.join(work, "exports.def")
        with open(definition, "w") as out:
            out.write("LIBRARY %s\nEXPORTS\n" % args.dll)
            for name in names:
                out.write("  %s\n" % name)
        command = [args.dlltool, "--def", definition, "--dllname", args.dll,
                   "--output-delaylib", args.out + ".tmp"]
        if args.x86:
            command.append("--kill-at")  # import by the undecorated name
        subprocess.run(command, check=True, cwd=work)
    os.replace(args.out + ".tmp", args.out)


if __name__ == "__main__":
    main()
