#!/usr/bin/env python3
"""Writes the seed corpus of zorby_patch_fuzzer (layout in FuzzCase.h). Run from anywhere; it
replaces the files in corpus/ beside it."""
import pathlib

SEP = b"\x1e"

# byte 0: the folder
NO_MAIN, NO_TEX, NO_ANIM, OLD_BACKUP, DEBUG, STALE, NO_DEFAULT_FOLDER, NO_DEFAULT_FILE = (1 << i for i in range(8))
# byte 1: obstacles
MAIN_RO, TEX_RO, ANIM_RO, BACKUP_RO, HELPERS_RO, OTHER_SPELLING, TWIN, UNTICKED = (1 << i for i in range(8))


def crlf(*lines, end=b"\r\n"):
    return b"".join(line.encode("latin-1") + end for line in lines)


MAIN = crlf('<?xml version="1.0" encoding="us-ascii"?>', '<XML ID="EQInterfaceDefinitionLanguage">',
            '<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes"/>', "", "<!-- Textures -->",
            '<TextureInfo item="A">', "    <Size>1</Size>", "</TextureInfo>", '<TextureInfo item="B">',
            "\t<Size>2</Size>", "</TextureInfo>", "<Loose/>", '<Ui2DAnimation item="P">',
            "        <Cycle>true</Cycle>", "</Ui2DAnimation>", '<Ui2DAnimation item="Q">', "  <Cycle>false</Cycle>",
            "</Ui2DAnimation>", "</XML>")
TEX = crlf('<TextureInfo item="B">', "  <Size>22</Size>", "  <File>b.tga</File>", "  <Hot>0</Hot>", "</TextureInfo>",
           '<TextureInfo item="C">', "  <Size>3</Size>", "</TextureInfo>")
ANIM = crlf('<Ui2DAnimation item="R">', "   <Cycle>true</Cycle>", "</Ui2DAnimation>", '   <Ui2DAnimation item="P">',
            "   </Ui2DAnimation>")

# A small folder for the seeds that vary the surroundings rather than the text.
MINI_MAIN = crlf("<XML>", "<Schema/>", '<TextureInfo item="A">', "  <Size>1</Size>", "</TextureInfo>",
                 '<Ui2DAnimation item="P">', "</Ui2DAnimation>", "</XML>")
MINI_TEX = crlf('<TextureInfo item="A">', "</TextureInfo>")
MINI_ANIM = crlf('<Ui2DAnimation item="N">', "</Ui2DAnimation>")


def mini(*args, **kwargs):
    return case(*args, main=kwargs.pop("main", MINI_MAIN), tex=kwargs.pop("tex", MINI_TEX),
                anim=kwargs.pop("anim", MINI_ANIM), **kwargs)


# byte 5: changes while the window is open
CHANGE_MAIN, CHANGE_TEX, CHANGE_ANIM = (1 << i for i in range(3))


def case(folder=0, obstacles=0, failing_write=0, answers=0, main=MAIN, tex=TEX, anim=ANIM, backup=b"", twin=b"",
         after_start=0):
    head = bytes([folder, obstacles, failing_write, answers & 0xFF, answers >> 8, after_start])
    parts = [main, tex, anim]
    if backup or twin:
        parts += [backup, twin]
    return head + SEP.join(parts)


def convert_ends(data, end):
    return data.replace(b"\r\n", end)


SEEDS = {
    "whole-patch": case(),
    "old-backup-yes": mini(OLD_BACKUP, answers=1, backup=b"old backup\r\n"),
    "old-backup-unticked": mini(OLD_BACKUP, UNTICKED, backup=b"old backup\r\n"),
    "debug-and-stale-helpers": mini(DEBUG | STALE),
    "seeded-from-default": mini(NO_MAIN),
    "no-default-folder": mini(NO_MAIN | NO_DEFAULT_FOLDER, answers=1),
    "protected-main-and-addon": mini(obstacles=MAIN_RO | ANIM_RO),
    "protected-backup": mini(OLD_BACKUP, BACKUP_RO, answers=1, backup=b"x\r\n"),
    "write-fails-at-line-5": mini(failing_write=6),
    "textures-only": mini(NO_ANIM),
    "main-edited-after-start": mini(after_start=CHANGE_MAIN),
    "utf16-main-in-debug-mode": mini(DEBUG, main=b"\xff\xfe" + b"".join(bytes([c, 0]) for c in MINI_MAIN)),
    "utf8-marks": mini(main=b"\xef\xbb\xbf" + MINI_MAIN, tex=b"\xef\xbb\xbf" + MINI_TEX,
                       anim=b"\xef\xbb\xbf" + MINI_ANIM),
    "addons-changed-after-start": mini(NO_TEX, after_start=CHANGE_TEX | CHANGE_ANIM),
    "other-spelling-and-twin": mini(obstacles=OTHER_SPELLING | TWIN,
                                    twin=crlf('<Ui2DAnimation item="Q">', "</Ui2DAnimation>")),
    "addon-not-closed": mini(tex=crlf('<TextureInfo item="B">', "  <Size>22</Size>", "", '<TextureInfo item="C">',
                                      "</TextureInfo>")),
    "addon-stray-lines": mini(tex=crlf('<TextureInfo item="B">', "</TextureInfo>", "<Stray/>", "<Stray/>")),
    "addon-wrong-kind": mini(tex=crlf('<Ui2DAnimation item="B">', "</Ui2DAnimation>")),
    "addon-comments": mini(tex=crlf("<!-- C, new -->", '<TextureInfo item="C">', "</TextureInfo>", "<!-- end -->"),
                           anim=crlf("<!-- two", "   lines -->", '<Ui2DAnimation item="Q">', "</Ui2DAnimation>")),
    "main-element-left-open": mini(main=MINI_MAIN[:MINI_MAIN.index(b"</Ui2DAnimation>")]),
    "cr-only": case(main=convert_ends(MINI_MAIN, b"\r"), tex=convert_ends(TEX, b"\r"), anim=convert_ends(MINI_ANIM, b"\r")),
    "lf-only-no-last-end": case(main=convert_ends(MINI_MAIN, b"\n")[:-1], tex=convert_ends(MINI_TEX, b"\n")[:-1],
                                anim=convert_ends(ANIM, b"\n")),
    "long-lines-deep-indent": case(
        main=crlf("<Schema/>", '<TextureInfo item="' + "L" * 300 + '">', " " * 40 + "<Size>" + "9" * 200 + "</Size>",
                  "\t \t </TextureInfo>  \t", '<Ui2DAnimation item="P">', " " * 17 + "<x/>", "</Ui2DAnimation>"),
        tex=crlf('<TextureInfo item="' + "L" * 300 + '">', "</TextureInfo>"),
        anim=crlf('\t<Ui2DAnimation item="P">', "\t\t<y/>", "\t</Ui2DAnimation>")),
    "main-comments-spanning-lines": case(
        main=crlf("<Schema/>", "<!-- one", "", "  two -->", '<TextureInfo item="A">', "</TextureInfo>",
                  "<!-- lone -->", "<!-- kept -->", '<Ui2DAnimation item="P">', "<!-- inside -->", "</Ui2DAnimation>",
                  "<!-- at the end", "-->")),
    "comment-blocks-everywhere": case(
        main=crlf("<XML>", "<!-- old:", '<Ui2DAnimation item="P">', "</Ui2DAnimation>", "-->", "<Schema/>",
                  '<Ui2DAnimation item="P">', "  <!--", "  </Ui2DAnimation>", '  <Ui2DAnimation item="Q">', "  -->",
                  "</Ui2DAnimation>", '<Ui2DAnimation item="Q">', "</Ui2DAnimation>", "</XML>"),
        tex=b"", anim=crlf("<!-- Q, new", "look -->", '<Ui2DAnimation item="Q">', "<!--", "</Ui2DAnimation>", "-->",
                           "</Ui2DAnimation>", '<Ui2DAnimation item="R">', "<!-- one -->", "</Ui2DAnimation>")),
    "nested-animation-openings": case(
        main=crlf("<Schema/>", '<Ui2DAnimation item="A">', '    <Ui2DAnimation item="B">', '\t<Ui2DAnimation item="C">',
                  "</Ui2DAnimation>"),
        tex=b"", anim=crlf('<Ui2DAnimation item="A">', "</Ui2DAnimation>")),
    "merge-fails-short-line": mini(main=MINI_MAIN.replace(b"  <Size>1</Size>", b"x")),
    "addon-title-cannot-be-cut": mini(tex=crlf('<TextureInfo item="', "</TextureInfo>")),
    "empty-files": case(main=b"", tex=b"", anim=b""),
    # Lists of several hundred lines: a replacement that empties a whole stretch of the existing lines,
    # and an add-on item longer than that stretch.
    "hundreds-of-lines": case(
        main=crlf("<Schema/>", '<TextureInfo item="A">', "</TextureInfo>", '<TextureInfo item="B">', *["ab"] * 300,
                  "</TextureInfo>", '<TextureInfo item="C">', "</TextureInfo>", '<Ui2DAnimation item="P">',
                  "</Ui2DAnimation>", '<Ui2DAnimation item="Q">', "</Ui2DAnimation>", end=b"\n"),
        tex=crlf('<TextureInfo item="B">', "</TextureInfo>", '<TextureInfo item="C">', "<c/>", "</TextureInfo>",
                 end=b"\n"),
        anim=crlf('<Ui2DAnimation item="P">', *["cd"] * 600, "</Ui2DAnimation>", '<Ui2DAnimation item="Q">',
                  "</Ui2DAnimation>", end=b"\n")),
    "elements-in-the-head": case(
        main=crlf('<TextureInfo item="H">', "</TextureInfo>", '<Ui2DAnimation item="P">', "<Schema/>",
                  "</Ui2DAnimation>", "<Tail/>"),
        tex=crlf('<TextureInfo item="H">', "<new/>", "</TextureInfo>")),
}


def main():
    folder = pathlib.Path(__file__).resolve().parent / "corpus"
    folder.mkdir(exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    for name, data in SEEDS.items():
        (folder / name).write_bytes(data)
    print(f"{len(SEEDS)} seeds, {sum(len(d) for d in SEEDS.values())} bytes")


if __name__ == "__main__":
    main()
