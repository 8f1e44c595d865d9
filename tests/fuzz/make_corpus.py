#!/usr/bin/env python3
"""Writes the seed corpus of zorby_patch_fuzzer (layout at the top of PatchFuzzer.cpp). Run from anywhere; it
replaces the files in corpus/ beside it."""
import pathlib
import random

SEP = b"\x1e"

# byte 0: the folder
NO_MAIN, NO_TEX, NO_ANIM, OLD_BACKUP, UNTICKED, NO_DEFAULT_FOLDER, NO_DEFAULT_FILE = (1 << i for i in range(7))


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


def case(folder=0, failing_write=0, answers=0, main=MAIN, tex=TEX, anim=ANIM, backup=b""):
    head = bytes([folder, failing_write, answers & 0xFF, answers >> 8])
    return head + SEP.join([main, tex, anim] + ([backup] if backup else []))


def convert_ends(data, end):
    return data.replace(b"\r\n", end)


SEEDS = {
    "whole-patch": case(),
    "old-backup-yes": mini(OLD_BACKUP, answers=1, backup=b"old backup\r\n"),
    "old-backup-no": mini(OLD_BACKUP, answers=2, backup=b"old backup\r\n"),
    "old-backup-unticked": mini(OLD_BACKUP | UNTICKED, backup=b"old backup\r\n"),
    "seeded-from-default": mini(NO_MAIN),
    "no-default-folder": mini(NO_MAIN | NO_DEFAULT_FOLDER, answers=1),
    "no-default-file": mini(NO_MAIN | NO_DEFAULT_FILE),
    "textures-only": mini(NO_ANIM),
    "utf16-main": mini(main=b"\xff\xfe" + b"".join(bytes([c, 0]) for c in MINI_MAIN)),
    "utf8-marks": mini(main=b"\xef\xbb\xbf" + MINI_MAIN, tex=b"\xef\xbb\xbf" + MINI_TEX,
                       anim=b"\xef\xbb\xbf" + MINI_ANIM),
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


# Comments beside tags, and lines that carry a title without being an element's opening line: the scan,
# the add-on check and both merges judge each line by what remains of it outside comments.
BESIDE = {
    "comment-beside-tags": case(
        main=crlf("<XML>", "<Schema/> <!-- the schema", "   ends here -->", '<TextureInfo item="A">',
                  "<Size>1</Size> <!-- was:", "</TextureInfo>", '<TextureInfo item="B">', "-->",
                  "</TextureInfo> <!-- end of A -->", '  <!-- 2x size --><TextureInfo item="B">', "<Size>2</Size>",
                  "</TextureInfo>", "<!-- loose:", "--> <Loose/>", "<!-- P, the", '  --> <Ui2DAnimation item="P">',
                  "</Ui2DAnimation>", "</XML>"),
        tex=crlf('<!-- new B --> <TextureInfo item="B">', "<Size>22</Size>", "</TextureInfo> <!-- end of B -->",
                 "<!-- C,", '  new --> <TextureInfo item="C">', "</TextureInfo>"),
        anim=crlf('<Ui2DAnimation item="R"> <!-- new', "-->", "</Ui2DAnimation>")),
    "titles-only-on-opening-lines": case(
        main=crlf("<XML>", "<Schema/>", '<TextureInfo item="A">', '<!-- "B-->', "</TextureInfo>",
                  '<TextureInfo item="B-">', "</TextureInfo>", '<WindowDrawTemplate item="Q">', "</WindowDrawTemplate>",
                  '<Ui2DAnimation item="P">', '    <Frames name="Q">', "    </Frames>", "</Ui2DAnimation>",
                  '<Ui2DAnimation name="n"item="Q">', "</Ui2DAnimation>", "</XML>"),
        tex=crlf('<TextureInfo item="B-">', "<Size>5</Size>", "</TextureInfo>"),
        anim=crlf('<Ui2DAnimation item="Q">', "<Cycle>false</Cycle>", "</Ui2DAnimation>")),
    "comment-marks-that-run-on": case(
        main=crlf("<Schema/>", '<TextureInfo item="A"> <!-->', "</TextureInfo>", "<!--->", "-->", "</TextureInfo>",
                  '<!----><TextureInfo item="B">', "</TextureInfo>"),
        tex=crlf('<TextureInfo item="B">', "<!-->x-->", "</TextureInfo>"), anim=b""),
    "replaced-opening-ends-a-comment": mini(
        main=crlf("<XML>", "<Schema/>", "<!-- A, the", '  --> <TextureInfo item="A">', "</TextureInfo>", "</XML>")),
    "replaced-closing-starts-a-comment": mini(
        main=crlf("<XML>", "<Schema/>", '<TextureInfo item="A">', "</TextureInfo> <!-- A ends;", "-->", "</XML>")),
    "addon-comment-past-its-item": mini(
        tex=crlf('<TextureInfo item="A">', "</TextureInfo> <!-- next:", "-->", '<TextureInfo item="C">',
                 "</TextureInfo>")),
    "addon-replaced-item-ends-a-comment": mini(
        tex=crlf("<!-- A,", '--> <TextureInfo item="A">', "</TextureInfo>", '<TextureInfo item="A">', "</TextureInfo>")),
    "comments-between-elements-kept": case(
        main=crlf("<XML>", "<Schema/>", "<!-- textures", "-->", "<!-- first -->", '<TextureInfo item="A">',
                  "</TextureInfo>", "<!-- old B:", '<TextureInfo item="B">', "</TextureInfo>", "-->", "<Loose/>",
                  "<!-- B, new -->", '<TextureInfo item="B">', "</TextureInfo>", '<Ui2DAnimation item="P">',
                  "</Ui2DAnimation>", "<!-- the end", "-->", "<Loose/>", "<!-- last -->", "</XML>")),
    "animation-inside-a-texture": mini(
        main=crlf("<XML>", "<Schema/>", '<TextureInfo item="A">', '<Ui2DAnimation item="P">', "<!-- in P -->",
                  "</Ui2DAnimation>", "<!-- in A -->", "</TextureInfo>", "<!-- B -->", '<TextureInfo item="B">',
                  "</TextureInfo>", "</XML>"),
        tex=crlf('<TextureInfo item="C">', "</TextureInfo>")),
    "comment-across-parts": mini(
        main=crlf("<XML>", "<Schema/>", "<Loose/> <!-- about A", '--> <TextureInfo item="A">', "</TextureInfo>",
                  "</XML>")),
}
SEEDS.update(BESIDE)

# Elements written whole on one line, in the main file and as add-on items (the last line of a file too),
# and the opening lines that only look like one.
ONE_LINE = {
    "one-line-elements": case(
        main=crlf("<XML>", "<Schema/>", '<TextureInfo item="A"><Size>1</Size></TextureInfo>', '<TextureInfo item="B">',
                  "</TextureInfo>", '<!-- P --><Ui2DAnimation item="P"><Cycle/></Ui2DAnimation> \t',
                  '  <Ui2DAnimation item="Q"></Ui2DAnimation> <!-- end -->', "</XML>"),
        tex=crlf('  <TextureInfo item="A"><Size>9</Size></TextureInfo>\t', '<TextureInfo item="B">', "</TextureInfo>",
                 "<!-- C -->", '<TextureInfo item="C"></TextureInfo>'),
        anim=crlf('<Ui2DAnimation item="Q"><Cycle>false</Cycle></Ui2DAnimation>')),
    "one-line-lookalikes": case(
        main=crlf("<Schema/>", '<TextureInfo item="A"></TextureInfo><x/>', "</TextureInfo>",
                  '<Ui2DAnimation item="P"></TextureInfo>', "</Ui2DAnimation>",
                  '<Ui2DAnimation item="Q"><TextureInfo item="T"></TextureInfo>', "</Ui2DAnimation>"),
        tex=crlf('<TextureInfo item="A"></TextureInfo><x/>', "</TextureInfo>", '<TextureInfo item="B"></TextureInfo>'),
        anim=crlf('<Ui2DAnimation item="P"></Ui2DAnimation>', '<Ui2DAnimation item="R"><!-- </Ui2DAnimation> -->',
                  "</Ui2DAnimation>")),
    "one-line-item-cut-off": mini(
        tex=crlf('<TextureInfo item="A"></TextureInfo> <!-- runs', "on -->", '<TextureInfo item="B"></TextureInfo><x/>')),
    "one-line-replaced-twice": mini(
        main=crlf("<XML>", "<Schema/>", '<TextureInfo item="A"></TextureInfo> <!-- A;', "-->", "</XML>"),
        tex=crlf('<TextureInfo item="N"></TextureInfo>', '<TextureInfo item="N"><a/></TextureInfo>'),
        anim=crlf('<Ui2DAnimation item="P"><b/></Ui2DAnimation>', '<Ui2DAnimation item="P"></Ui2DAnimation>')),
    # Once taken for the end of D: the D patched in was left open and the next D took A B away with it.
    "one-line-item-inside-an-item": mini(
        main=crlf("<XML>", "<Schema/>", '<TextureInfo item="D"></TextureInfo>',
                  '<TextureInfo item="A B"><!-- a --><x/></TextureInfo> <!-- end -->', '<TextureInfo item="D">',
                  "</TextureInfo>", "</XML>"),
        tex=crlf('<TextureInfo item="D">', '<TextureInfo item="A"><y>1</y></TextureInfo>', '<TextureInfo item="D">',
                 "</TextureInfo>")),
    "item-title-after-a-comment-line": mini(main=b"", tex=crlf('<!--"', '--><TextureInfo it</TextureInfo>')),
}
SEEDS.update(ONE_LINE)


def long_lists(seed, untitled=False, beside=False, one_line=False, main_notes=False):
    """Elements and items of hundreds of lines, duplicate titles, lines that carry a title inside elements
    and comments over several lines around them: the merge's chunks of 256 lines split, and the elements
    it replaces cross their bounds. With one_line, some elements stand whole on one line; with main_notes,
    several comments and loose lines stand between the main file's elements and after the last one."""
    rnd = random.Random(seed)
    titles = ["A", "B", "C", "a", "", "A B", "D"]
    children = ["<x/>", '<Ref name="{}">', "<!-- one line -->", "\t<y/>"] + (["x"] if untitled else [])
    if beside:
        children += ['<x/> <!-- "{}-->', '<!-- a --><Frame item="{}"/>', '<Ref name="n"item="{}">']

    def element(tag, lines, notes):
        out = []
        if rnd.random() < 0.25:
            out += ["<!-- an old one:", f'<{tag} item="{rnd.choice(titles)}">', f"</{tag}>", "-->"]
        if notes:
            out += rnd.sample(["<!-- a note -->", "<Loose/>", "  <!-- two", "\tlines -->", "<!-- more -->"],
                              rnd.randrange(4))
        note = "<!-- note --> " if beside and rnd.random() < 0.3 else ""
        if one_line and rnd.random() < 0.4:
            body = "".join(rnd.choice(["<x/>", "<y>1</y>", "<!-- a -->"]) for _ in range(rnd.randrange(3)))
            end = rnd.choice(["", " \t", " <!-- end -->", "\t<!-- on -->  "])
            return out + [f'{note}<{tag} item="{rnd.choice(titles)}">{body}</{tag}>{end}']
        out.append(f'{note}<{tag} item="{rnd.choice(titles)}">')
        out += [rnd.choice(children).format(rnd.choice(titles)) for _ in range(lines)]
        if rnd.random() < 0.25:
            out += ["  <!--", f"  </{tag}>", f'  <{tag} item="{rnd.choice(titles)}">', "  -->"]
        return out + [f"</{tag}>" + (" <!-- end -->" if beside and rnd.random() < 0.3 else "")]

    def elements(tag, count, sizes, notes=False):
        return [line for _ in range(count) for line in element(tag, rnd.choice(sizes), notes)]

    main = ["<XML>", "<Schema/>"] + elements("TextureInfo", 7, [0, 2, 250, 256, 300], main_notes) + \
        elements("Ui2DAnimation", 4, [0, 3, 256, 300], main_notes) + \
        (["<!-- after the last one -->", "<Loose/>", "<!-- and at the end -->"] if main_notes else []) + ["</XML>"]
    return case(main=crlf(*main), tex=crlf(*elements("TextureInfo", 4, [0, 1, 260, 400])),
                anim=crlf(*elements("Ui2DAnimation", 3, [0, 5, 300])))


# A full disk at every write of the new main file, its final flush included: nothing may be lost.
SEEDS.update({f"write-{n}-fails": mini(failing_write=n) for n in range(1, 11)})
SEEDS.update({f"long-lists-{seed}": long_lists(seed) for seed in range(1, 6)})
SEEDS["long-lists-with-an-untitled-line"] = long_lists(6, untitled=True)
SEEDS.update({f"long-lists-comments-beside-tags-{seed}": long_lists(seed, beside=True) for seed in range(7, 10)})
SEEDS.update({f"long-lists-one-line-elements-{seed}": long_lists(seed, beside=seed % 2 == 0, one_line=True)
              for seed in range(10, 14)})
SEEDS.update({f"long-lists-many-comments-{seed}": long_lists(seed, main_notes=True) for seed in range(14, 17)})


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
