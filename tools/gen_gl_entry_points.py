#!/usr/bin/env python3
"""Generates the OpenGL entry-point table from an installed glcorearb.h.

The table holds the core entry points of OpenGL 1.0 to 4.5 followed by a
fixed set of ARB extensions, each block in the header's own order. Every slot
is typed with the header's PFN...PROC prototype and named after its function;
the generated header maps each call of a function name onto its slot so
that glClear(mask) goes through the table, while glEntryPoints.glClear still
names the slot itself.

usage: gen_gl_entry_points.py GLCOREARB_H OUT_HEADER OUT_SOURCE
"""
import re
import sys

BLOCKS = [
    "GL_VERSION_1_0", "GL_VERSION_1_1", "GL_VERSION_1_2", "GL_VERSION_1_3",
    "GL_VERSION_1_4", "GL_VERSION_1_5", "GL_VERSION_2_0", "GL_VERSION_2_1",
    "GL_VERSION_3_0", "GL_VERSION_3_1", "GL_VERSION_3_2", "GL_VERSION_3_3",
    "GL_VERSION_4_0", "GL_VERSION_4_1", "GL_VERSION_4_2", "GL_VERSION_4_3",
    "GL_VERSION_4_4", "GL_VERSION_4_5",
    "GL_ARB_bindless_texture", "GL_ARB_cl_event",
    "GL_ARB_compute_variable_group_size", "GL_ARB_debug_output",
    "GL_ARB_draw_buffers_blend", "GL_ARB_indirect_parameters",
    "GL_ARB_robustness", "GL_ARB_sample_shading",
    "GL_ARB_shading_language_include", "GL_ARB_sparse_buffer",
    "GL_ARB_sparse_texture",
]

BLOCK_START = re.compile(r"^#ifndef (GL_\w+)\s*$")
PROTOTYPE = re.compile(r"^GLAPI\s+.*?\bAPIENTRY\s+(gl\w+)\s*\(")


def read_blocks(path):
    """Maps each #ifndef GL_xxx block of the header to its function names."""
    blocks = {}
    current = None
    with open(path, encoding="latin-1") as header:
        for line in header:
            start = BLOCK_START.match(line)
            if start:
                current = start.group(1)
                blocks.setdefault(current, [])
                continue
            if current is None:
                continue
            proto = PROTOTYPE.match(line)
            if proto:
                blocks[current].append(proto.group(1))
    return blocks


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    header_path, out_header, out_source = argv[1:]
    blocks = read_blocks(header_path)

    entries = []  # (block, name)
    for block in BLOCKS:
        names = blocks.get(block)
        if not names:
            sys.stderr.write(f"{header_path}: no entry points for {block}\n")
            return 1
        entries.extend((block, name) for name in names)

    seen = set()
    for _, name in entries:
        if name in seen:
            sys.stderr.write(f"{header_path}: {name} occurs twice\n")
            return 1
        seen.add(name)

    h = []
    h.append("// Generated from glcorearb.h by tools/gen_gl_entry_points.py. Do not edit.")
    h.append("#pragma once")
    h.append("")
    h.append(f"#define GL_ENTRY_POINT_COUNT {len(entries)}")
    h.append("")
    h.append("struct GlEntryPoints {")
    for _, name in entries:
        h.append(f"    PFN{name.upper()}PROC {name};")
    h.append("};")
    h.append("")
    h.append("// Names of the slots, in slot order.")
    h.append("extern const char* const glEntryPointNames[GL_ENTRY_POINT_COUNT];")
    h.append("// The block (GL_VERSION_x_y or extension name) each slot belongs to.")
    h.append("extern const char* const glEntryPointBlocks[GL_ENTRY_POINT_COUNT];")
    h.append("")
    h.append("extern GlEntryPoints glEntryPoints;")
    h.append("")
    for _, name in entries:
        h.append(f"#define {name}(...) glEntryPoints.{name}(__VA_ARGS__)")
    h.append("")

    c = []
    c.append("// Generated from glcorearb.h by tools/gen_gl_entry_points.py. Do not edit.")
    c.append('#include "window/gl_entry_points.h"')
    c.append("")
    c.append("GlEntryPoints glEntryPoints;")
    c.append("")
    c.append("const char* const glEntryPointNames[GL_ENTRY_POINT_COUNT] = {")
    for _, name in entries:
        c.append(f'    "{name}",')
    c.append("};")
    c.append("")
    c.append("const char* const glEntryPointBlocks[GL_ENTRY_POINT_COUNT] = {")
    for block, _ in entries:
        c.append(f'    "{block}",')
    c.append("};")
    c.append("")

    with open(out_header, "w", encoding="ascii") as f:
        f.write("\n".join(h))
    with open(out_source, "w", encoding="ascii") as f:
        f.write("\n".join(c))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
