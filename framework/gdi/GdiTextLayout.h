#pragma once
// Line breaking of DrawText in device pixels: prefix characters, explicit line
// breaks, word wrapping at the rectangle's width, tab expansion and the end
// ellipsis. Measuring is passed in, so the rules are testable without fonts.
#include "framework/gdi/GdiDefs.h"

#include <QString>

#include <functional>
#include <vector>

struct GdiTextSegment {
    int x = 0; // offset from the line's start
    QString text;
};

struct GdiTextLine {
    std::vector<GdiTextSegment> segments;
    int width = 0;
};

class GdiTextLayout {
public:
    using Measure = std::function<int(const QString&)>;

    // tabWidth: distance of tab stops in pixels (used with DT_EXPANDTABS).
    GdiTextLayout(Measure measure, int tabWidth) : m_measure(std::move(measure)), m_tabWidth(tabWidth > 0 ? tabWidth : 1) {}

    std::vector<GdiTextLine> Layout(const QString& text, UINT format, int maxWidth) const;

    // "&x" loses its "&", "&&" becomes "&".
    static QString StripPrefixes(const QString& text);

private:
    GdiTextLine Arrange(const QString& line, bool expandTabs) const;
    std::vector<QString> Wrap(const QString& paragraph, bool expandTabs, int maxWidth) const;
    GdiTextLine Ellipsize(const QString& line, bool expandTabs, int maxWidth) const;

    Measure m_measure;
    int m_tabWidth;
};
