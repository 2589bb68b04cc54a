#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class cmcGTex;

// The radio's display draws its characters from segments, each a set of
// triangles. Their shapes are overlay data, one line per segment under
// kSegDataKey; Segchar reads the whole table once and keeps it with its
// bounding box.

struct dataTriangle {
    struct Point {
        int32_t x = 0;
        int32_t y = 0;
    };
    std::array<Point, 3> points{};
    int32_t number = 0; // within its segment
};

class Segment {
public:
    explicit Segment(int32_t number) : number_(number) {}

    int32_t Number() const { return number_; }
    int32_t Count() const { return static_cast<int32_t>(triangles_.size()); }
    // 0 when the table gave a negative count: the triangles are drawn as outlines.
    int32_t Filled() const { return filled_; }
    const dataTriangle& Triangle(int32_t t) const { return *triangles_.at(static_cast<size_t>(t)); }

private:
    friend class Segchar;
    int32_t number_;
    int32_t filled_ = 1;
    std::vector<std::unique_ptr<dataTriangle>> triangles_;
    int32_t reserved_ = 0;
};

class Segchar {
public:
    static constexpr const char* kSegDataKey = "GI_PCG_Seg_Data";

    // Reads the table from the text table; a line that cannot be read is a
    // fatal overlay error naming the key and the line.
    explicit Segchar(cmcGTex& texts);
    ~Segchar();
    Segchar(const Segchar&) = delete;
    Segchar& operator=(const Segchar&) = delete;

    // Number of segment lines (comment lines and "0" lines do not count).
    int32_t Count() const { return count_; }
    // Lines of the table up to the next key, segment lines or not.
    int32_t LineCount() const { return static_cast<int32_t>(segments_.size()); }
    // The segment of table line k: segment k is always line k, so a comment
    // or "0" line has none (null).
    const Segment* At(int32_t line) const;

    int32_t MinX() const { return minX_; }
    int32_t MinY() const { return minY_; }
    int32_t MaxX() const { return maxX_; }
    int32_t MaxY() const { return maxY_; }

private:
    std::unique_ptr<Segment> ReadSegment(int32_t line, const std::string& text);
    [[noreturn]] void BadLine(int32_t line, const std::string& text, const char* what);

    std::vector<std::unique_ptr<Segment>> segments_;
    int32_t count_ = 0;
    int32_t minX_ = 999999999;
    int32_t minY_ = 999999999;
    int32_t maxX_ = -999999999;
    int32_t maxY_ = -999999999;
};
