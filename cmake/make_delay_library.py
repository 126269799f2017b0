#!/usr/bin/env python3
"""Makes a delay-import library for one system DLL from MinGW's ordinary
import library: the functions it names, bound on first call instead of when
the executable is loaded.

  make_delay_library.py --nm NM --dlltool DLLTOOL --ar AR --cc CC
                        (--import-lib LIBX.a --dll X.dll | --def X.def)
                        --x86 0|1 --out LIBX_DELAY.a

A module-definition file names the DLL on its LIBRARY line and the functions
under EXPORTS, as a test's made-up DLL needs.

dlltool writes the library. On x86 its per-function members are then
replaced: GNU ld's i386 PE target drops the code section of an import-library
member whose symbol nothing references by name ("dead" jump stubs), and
dlltool puts the lazy-binding thunk that the import address table slot
starts out pointing at into that same section. Every function called through
its __imp_ pointer, which is how the Windows headers declare them, would
then get a slot pointing at address 0. The members written here keep the
thunk in a section of its own that carries no symbol, so ld never drops it,
while the jump stub it may drop sits alone in the section ld inspects.
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


def definition_file(path):
    """(DLL name, function names) of a module-definition file."""
    dll, names, in_exports = None, [], False
    with open(path) as source:
        for line in source:
            words = line.split(";")[0].split()
            if not words:
                continue
            if words[0] == "LIBRARY" and len(words) > 1:
                dll = words[1]
            elif words[0] == "EXPORTS":
                in_exports = True
            elif in_exports:
                names.append(words[0])
    if not dll or not names:
        sys.exit("%s names no LIBRARY or no EXPORTS" % path)
    return dll, sorted(names)


def x86_stub_source(name, tail_merge):
    """Assembly of one function's member: jump stub, lazy thunk, slot and
    hint/name entry. |name| is the decorated name ("CommandLineToArgvW@8");
    the DLL exports it undecorated."""
    symbol = "_" + name
    import_name = re.sub(r"@\d+$", "", name)
    return "\n".join([
        # The thunk comes first, in .text, the section ld never inspects
        # because it is not the last code section with relocations.
        "\t.text",
        ".Lthunk:",
        '\tmovl\t$"__imp_%s", %%eax' % symbol,
        "\tjmp\t%s" % tail_merge,
        # The jump stub for callers that name the function directly; ld may
        # drop it when none does.
        '\t.section\t.text$stub,"xr"',
        '\t.globl\t"%s"' % symbol,
        '"%s":' % symbol,
        '\tjmp\t*"__imp_%s"' % symbol,
        # The slot starts out at the thunk; the delay-load helper overwrites
        # it with the function's address on the first call.
        '\t.section\t.idata$5,"dw"',
        "\t.balign\t4",
        '\t.globl\t"__imp_%s"' % symbol,
        '"__imp_%s":' % symbol,
        "\t.long\t.Lthunk",
        '\t.section\t.idata$4,"dw"',
        "\t.balign\t4",
        "\t.rva\t.Lhint_name",
        '\t.section\t.idata$6,"dw"',
        "\t.balign\t2",
        ".Lhint_name:",
        "\t.short\t0",
        '\t.asciz\t"%s"' % import_name,
        "",
    ])


def replace_x86_stubs(args, names, work, library):
    members_dir = os.path.join(work, "members")
    os.makedirs(members_dir)
    subprocess.run([args.ar, "x", os.path.abspath(library)], check=True,
                   cwd=members_dir)
    members = sorted(os.listdir(members_dir))
    heads = [m for m in members if m.endswith("_h.o")]
    tails = [m for m in members if m.endswith("_t.o")]
    if len(heads) != 1 or len(tails) != 1:
        sys.exit("unexpected members in dlltool's library: %s" % members)
    head, tail = heads[0], tails[0]
    listing = subprocess.run([args.nm, os.path.join(members_dir, head)], check=True,
                             capture_output=True, text=True).stdout
    merges = re.findall(r" T (___tailMerge_\S+)$", listing, re.M)
    if len(merges) != 1:
        sys.exit("no tail-merge routine in %s" % head)
    base = head[:-len("_h.o")]
    # ld orders each .idata$ part by archive member name: the head's slots
    # first, then the functions', then the tail's terminating zero.
    stubs = []
    for index, name in enumerate(names):
        stub = "%s_s%05d.o" % (base, index)
        source = os.path.join(work, "stub%05d.s" % index)
        with open(source, "w") as out:
            out.write(x86_stub_source(name, merges[0]))
        subprocess.run([args.cc, "-c", "-x", "assembler", source, "-o",
                        os.path.join(work, stub)], check=True)
        stubs.append(stub)
    os.replace(os.path.join(members_dir, head), os.path.join(work, head))
    os.replace(os.path.join(members_dir, tail), os.path.join(work, tail))
    os.remove(library)
    subprocess.run([args.ar, "rcsD", os.path.basename(library), head] + stubs + [tail],
                   check=True, cwd=work)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--dlltool", required=True)
    parser.add_argument("--ar", required=True)
    parser.add_argument("--cc", required=True)
    parser.add_argument("--import-lib")
    parser.add_argument("--dll")
    parser.add_argument("--def", dest="definition")
    parser.add_argument("--x86", type=int, required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    if args.definition:
        args.dll, names = definition_file(args.definition)
    elif args.import_lib and args.dll:
        names = exported_names(args.nm, args.import_lib, args.x86)
    else:
        sys.exit("either --def or both --import-lib and --dll")
    if not names:
        sys.exit("no functions found in %s" % args.import_lib)
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        definition = os.path.join(work, "exports.def")
        with open(definition, "w") as out:
            out.write("LIBRARY %s\nEXPORTS\n" % args.dll)
            for name in names:
                out.write("  %s\n" % name)
        # A name relative to the work folder: dlltool derives its member and
        # symbol names from it, and they must not depend on the build folder.
        library = os.path.join(work, os.path.basename(args.out))
        command = [args.dlltool, "--def", definition, "--dllname", args.dll,
                   "--output-delaylib", os.path.basename(library)]
        if args.x86:
            command.append("--kill-at")  # import by the undecorated name
        subprocess.run(command, check=True, cwd=work)
        if args.x86:
            replace_x86_stubs(args, names, work, library)
        os.replace(library, args.out + ".tmp")
    os.replace(args.out + ".tmp", args.out)


if __name__ == "__main__":
    main()
