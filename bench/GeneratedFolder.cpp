#include "GeneratedFolder.h"

#include "PlainIo.h"

#include <array>
#include <stdexcept>
#include <stdlib.h>
#include <utility>
#include <vector>

namespace zorby::bench {

namespace {

// SplitMix64 with its own helpers: the distributions of the standard library differ between
// implementations, and the generated files must not.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    bool Percent(int chance) { return Below(100) < chance; }
    template <typename T> void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i) {
            std::swap(items[i - 1], items[static_cast<std::size_t>(Below(static_cast<int>(i)))]);
        }
    }
    template <typename T, std::size_t N> const T& Pick(const std::array<T, N>& choices) {
        return choices[static_cast<std::size_t>(Below(static_cast<int>(N)))];
    }

private:
    std::uint64_t state_;
};

constexpr std::array<const char*, 16> kWords{"Gauge",   "Button", "Tab",  "Scroll",  "Icon",    "Corner",
                                             "Border",  "Slot",   "Rune", "Satchel", "Compass", "Chat",
                                             "Lantern", "Pet",    "Ward", "Hotbar"};
constexpr std::array<const char*, 6> kComments{"<!-- window frame pieces -->", "<!-- gauges -->",
                                               "<!-- inventory slots -->",     "<!-- tab strip -->",
                                               "<!-- compass and map -->",     "<!-- chat window -->"};

std::string Numbered(const std::string& stem, int serial) {
    const std::string digits = std::to_string(serial);
    return stem + std::string(digits.size() < 5 ? 5 - digits.size() : 0, '0') + digits;
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

struct Texture {
    std::string title;
    int cx = 256;
    int cy = 256;
    bool compact = false; // <Size> on one line instead of three
    const char* comment = nullptr;
};

struct Frame {
    std::string texture;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    int duration = 0;
    bool hotspot = false;
};

struct Animation {
    std::string title;
    bool cycle = true;
    std::vector<Frame> frames;
    const char* comment = nullptr;
};

// Lines under construction, indented two spaces per level as the game's files are.
class Lines {
public:
    void Add(int depth, const std::string& text) {
        lines_.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + text);
    }
    void Append(const Lines& other) { lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end()); }
    int Count() const { return static_cast<int>(lines_.size()); }
    std::string Joined() const {
        std::string bytes;
        for (const auto& line : lines_) {
            bytes.append(line).append("\r\n");
        }
        return bytes;
    }

private:
    std::vector<std::string> lines_;
};

std::string Tag(const char* name, int value) {
    return std::string("<") + name + ">" + std::to_string(value) + "</" + name + ">";
}

// Writes the element, its comment first; returns the lines of the element alone.
int WriteTexture(Lines& out, const Texture& texture) {
    if (texture.comment != nullptr) {
        out.Add(1, texture.comment);
    }
    const int before = out.Count();
    out.Add(1, "<TextureInfo item=\"" + texture.title + "\">");
    if (texture.compact) {
        out.Add(2, "<Size>" + Tag("CX", texture.cx) + Tag("CY", texture.cy) + "</Size>");
    } else {
        out.Add(2, "<Size>");
        out.Add(3, Tag("CX", texture.cx));
        out.Add(3, Tag("CY", texture.cy));
        out.Add(2, "</Size>");
    }
    out.Add(1, "</TextureInfo>");
    return out.Count() - before;
}

void WriteFrame(Lines& out, const Frame& frame) {
    out.Add(2, "<Frames>");
    out.Add(3, "<Texture>" + frame.texture + "</Texture>");
    out.Add(3, "<Location>");
    out.Add(4, Tag("X", frame.x));
    out.Add(4, Tag("Y", frame.y));
    out.Add(3, "</Location>");
    out.Add(3, "<Size>");
    out.Add(4, Tag("CX", frame.cx));
    out.Add(4, Tag("CY", frame.cy));
    out.Add(3, "</Size>");
    if (frame.hotspot) {
        out.Add(3, "<Hotspot>");
        out.Add(4, Tag("X", frame.cx / 2));
        out.Add(4, Tag("Y", frame.cy / 2));
        out.Add(3, "</Hotspot>");
    }
    out.Add(3, Tag("Duration", frame.duration));
    out.Add(2, "</Frames>");
}

int WriteAnimation(Lines& out, const Animation& animation) {
    if (animation.comment != nullptr) {
        out.Add(1, animation.comment);
    }
    const int before = out.Count();
    out.Add(1, "<Ui2DAnimation item=\"" + animation.title + "\">");
    out.Add(2, std::string("<Cycle>") + (animation.cycle ? "true" : "false") + "</Cycle>");
    for (const auto& frame : animation.frames) {
        WriteFrame(out, frame);
    }
    out.Add(1, "</Ui2DAnimation>");
    return out.Count() - before;
}

int Write(Lines& out, const Texture& texture) {
    return WriteTexture(out, texture);
}
int Write(Lines& out, const Animation& animation) {
    return WriteAnimation(out, animation);
}

class Generator {
public:
    explicit Generator(std::uint64_t seed) : random_(seed) {}

    Texture MakeTexture() {
        Texture texture;
        texture.title = Lowered(Numbered(std::string("zb_") + random_.Pick(kWords), ++serial_)) + ".tga";
        texture.cx = 64 << random_.Below(3);
        texture.cy = 64 << random_.Below(3);
        texture.compact = random_.Percent(25);
        texture.comment = random_.Percent(5) ? random_.Pick(kComments) : nullptr;
        return texture;
    }

    Animation MakeAnimation(const std::vector<Texture>& textures) {
        Animation animation;
        animation.title = Numbered(std::string("A_Zb") + random_.Pick(kWords), ++serial_);
        animation.cycle = random_.Percent(70);
        const int roll = random_.Below(100);
        const int frames = roll < 50 ? 1 : (roll < 90 ? 2 : 3);
        const bool hotspot = random_.Percent(50);
        for (int f = 0; f < frames; ++f) {
            Frame frame;
            frame.texture =
                textures.empty()
                    ? std::string("zb_default01.tga")
                    : textures[static_cast<std::size_t>(random_.Below(static_cast<int>(textures.size())))]
                          .title;
            frame.x = 4 * random_.Below(64);
            frame.y = 4 * random_.Below(64);
            frame.cx = 4 + 2 * random_.Below(30);
            frame.cy = 4 + 2 * random_.Below(30);
            frame.duration = 100 * (1 + random_.Below(20));
            frame.hotspot = hotspot;
            animation.frames.push_back(frame);
        }
        animation.comment = random_.Percent(5) ? random_.Pick(kComments) : nullptr;
        return animation;
    }

    // The player's newer version of an element: other values, and a few lines more or fewer.
    static Texture Replacement(Texture texture) {
        texture.cx *= 2;
        texture.compact = !texture.compact;
        texture.comment = nullptr;
        return texture;
    }
    static Animation Replacement(Animation animation) {
        for (auto& frame : animation.frames) {
            frame.x += 2;
            frame.duration += 50;
        }
        animation.frames.front().hotspot = !animation.frames.front().hotspot;
        animation.comment = nullptr;
        return animation;
    }
    static bool ReplacementIsShorter(const Texture& texture) { return !texture.compact; }
    static bool ReplacementIsShorter(const Animation& animation) { return animation.frames.front().hotspot; }

    // `count` distinct elements, shorter and longer replacements by turns, shorter first.
    template <typename Element>
    std::vector<const Element*> PickReplaced(const std::vector<Element>& elements, int count) {
        if (count > static_cast<int>(elements.size())) {
            throw std::invalid_argument("more replacing items than elements of their kind");
        }
        std::array<std::vector<const Element*>, 2> byTurn; // [0] shorter, [1] longer
        for (const auto& element : elements) {
            byTurn[ReplacementIsShorter(element) ? 0 : 1].push_back(&element);
        }
        random_.Shuffle(byTurn[0]);
        random_.Shuffle(byTurn[1]);
        std::vector<const Element*> picked;
        std::array<std::size_t, 2> taken{0, 0};
        for (int n = 0; n < count; ++n) {
            std::size_t turn = static_cast<std::size_t>(n % 2);
            if (taken[turn] == byTurn[turn].size()) {
                turn = 1 - turn;
            }
            picked.push_back(byTurn[turn][taken[turn]++]);
        }
        return picked;
    }

    // The add-on items in file order: the replacing ones keep their order, the new ones fall in between.
    std::string AddOnFile(const std::vector<Lines>& replacing, const std::vector<Lines>& added) {
        std::vector<const Lines*> order;
        for (const auto& item : replacing) {
            order.push_back(&item);
        }
        for (const auto& item : added) {
            order.insert(order.begin() + random_.Below(static_cast<int>(order.size()) + 1), &item);
        }
        Lines file;
        for (const Lines* item : order) {
            file.Append(*item);
        }
        return file.Joined();
    }

    Random& Rng() { return random_; }

private:
    Random random_;
    int serial_ = 0;
};

struct KindCounts {
    int elements = 0;
    int listLines = 0;
    int patchDelta = 0; // lines the patch adds to the file, less the lines it removes
};

// Writes one kind of element into the main file and returns its add-on file.
template <typename Element, typename Make>
std::string GenerateKind(Generator& generator, const KindRecipe& recipe, Lines& mainFile, Make make,
                         KindCounts& counts) {
    std::vector<Element> elements;
    while (counts.listLines < recipe.lines) {
        elements.push_back(make());
        Lines scratch;
        Write(scratch, elements.back());
        counts.listLines += scratch.Count(); // the scan keeps an element's comment with it
    }
    counts.elements = static_cast<int>(elements.size());
    for (const auto& element : elements) {
        Write(mainFile, element);
    }

    std::vector<Lines> replacing;
    for (const Element* original : generator.PickReplaced(elements, recipe.replacing)) {
        Lines item;
        Lines old;
        counts.patchDelta += Write(item, Generator::Replacement(*original)) - Write(old, *original);
        replacing.push_back(std::move(item));
    }
    std::vector<Lines> added;
    for (int n = 0; n < recipe.added; ++n) {
        Element element = make();
        element.comment = generator.Rng().Percent(10) ? "<!-- new in this pack -->" : nullptr;
        Lines item;
        Write(item, element);
        counts.patchDelta += item.Count();
        added.push_back(std::move(item));
    }
    return generator.AddOnFile(replacing, added);
}

} // namespace

GeneratedContent GenerateContent(const FolderRecipe& recipe) {
    GeneratedContent content;
    Generator generator(recipe.seed);
    Lines mainFile;
    mainFile.Add(0, R"(<?xml version="1.0" encoding="us-ascii"?>)");
    mainFile.Add(0, R"(<XML ID="EQInterfaceDefinitionLanguage">)");
    mainFile.Add(1, R"(<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes" />)");

    // Animations draw their frames from the textures made so far, new ones included.
    std::vector<Texture> textures;
    KindCounts textureCounts;
    content.addOnTextures = GenerateKind<Texture>(
        generator, recipe.textures, mainFile,
        [&] {
            textures.push_back(generator.MakeTexture());
            return textures.back();
        },
        textureCounts);
    KindCounts animationCounts;
    content.addOnAnimations = GenerateKind<Animation>(
        generator, recipe.animations, mainFile, [&] { return generator.MakeAnimation(textures); },
        animationCounts);

    mainFile.Add(0, "</XML>");
    content.mainFile = mainFile.Joined();
    content.mainLines = mainFile.Count();
    content.textureElements = textureCounts.elements;
    content.animationElements = animationCounts.elements;
    content.textureListLines = textureCounts.listLines;
    content.animationListLines = animationCounts.listLines;
    content.patchedLines = content.mainLines + textureCounts.patchDelta + animationCounts.patchDelta;
    return content;
}

GeneratedFolder::GeneratedFolder(const FolderRecipe& recipe) : content_(GenerateContent(recipe)) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorby-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder under " + pattern);
    }
    root_ = pattern;
    std::filesystem::create_directory(root_ / "custom");
    std::filesystem::create_directory(root_ / "default");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(root_ / "custom");
    Restore();
}

GeneratedFolder::~GeneratedFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(root_, ignored);
}

void GeneratedFolder::Restore() const {
    const auto custom = Custom();
    WriteWholeFile((custom / "EQUI_Animations.xml").string(), content_.mainFile, Durability::Synced);
    WriteWholeFile((custom / "Zor_Tex.txt").string(), content_.addOnTextures, Durability::Synced);
    WriteWholeFile((custom / "Zor_Anim.txt").string(), content_.addOnAnimations, Durability::Synced);
}

} // namespace zorby::bench
