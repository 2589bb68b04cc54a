#include "cells/Segchar.h"

#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

std::optional<int32_t> ReadInt(std::string text) {
    TrimBlanks(text);
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool IsCommentLine(const std::string& line) {
    return line.rfind("//", 0) == 0;
}

} // namespace

Segchar::Segchar(cmcGTex& texts) {
    // A table may mix comment lines in; they take a line number but no
    // segment, so segment k stays the shape of line k.
    for (int32_t line = 0;; ++line) {
        std::optional<std::string> text = texts.TryGetTextLine(kSegDataKey, line);
        if (!text) break;
        TrimBlanks(*text);
        if (text->rfind('#', 0) == 0) break;
        if (IsCommentLine(*text) || *text == "0") {
            segments_.push_back(nullptr);
            continue;
        }
        segments_.push_back(ReadSegment(line, *text));
        ++count_;
    }
    for (const auto& segment : segments_) {
        if (!segment) continue;
        for (const auto& triangle : segment->triangles_) {
            for (const dataTriangle::Point& p : triangle->points) {
                minX_ = std::min(minX_, p.x);
                minY_ = std::min(minY_, p.y);
                maxX_ = std::max(maxX_, p.x);
                maxY_ = std::max(maxY_, p.y);
            }
        }
    }
}

Segchar::~Segchar() = default;

const Segment* Segchar::At(int32_t line) const {
    if (line < 0 || line >= LineCount()) return nullptr;
    return segments_[static_cast<size_t>(line)].get();
}

std::unique_ptr<Segment> Segchar::ReadSegment(int32_t line, const std::string& text) {
    auto segment = std::make_unique<Segment>(line);
    size_t bar = text.find('|');
    std::optional<int32_t> written = ReadInt(text.substr(0, bar));
    if (!written) BadLine(line, text, "the triangle count is not a number");
    int64_t count = *written;
    if (count < 0) {
        segment->filled_ = 0;
        count = -count;
    }
    for (int32_t t = 0; t < count; ++t) {
        if (bar == std::string::npos) BadLine(line, text, "fewer triangles than its count");
        const size_t next = text.find('|', bar + 1);
        std::string rest =
            text.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1);
        bar = next;
        auto triangle = std::make_unique<dataTriangle>();
        triangle->number = t;
        for (dataTriangle::Point& p : triangle->points) {
            const size_t open = rest.find('(');
            const size_t comma = open == std::string::npos ? open : rest.find(',', open);
            const size_t close = comma == std::string::npos ? comma : rest.find(')', comma);
            if (close == std::string::npos) BadLine(line, text, "a triangle needs three points (x,y)");
            std::optional<int32_t> x = ReadInt(rest.substr(open + 1, comma - open - 1));
            std::optional<int32_t> y = ReadInt(rest.substr(comma + 1, close - comma - 1));
            if (!x || !y) BadLine(line, text, "a coordinate is not a number");
            p = {*x, *y};
            rest.erase(0, close + 1);
        }
        segment->triangles_.push_back(std::move(triangle));
    }
    return segment;
}

void Segchar::BadLine(int32_t line, const std::string& text, const char* what) {
    plat::Fatal("Overlay data error.\nThe key '" + std::string(kSegDataKey) + "', line " +
                std::to_string(line) + ": " + what + ".\n'" + text + "'");
}
