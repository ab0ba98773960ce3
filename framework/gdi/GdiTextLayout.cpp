#include "framework/gdi/GdiTextLayout.h"

#include <QRegularExpression>

QString GdiTextLayout::StripPrefixes(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

GdiTextLine GdiTextLayout::Arrange(const QString& line, bool expandTabs) const
{
    GdiTextLine result;
    if (!expandTabs) {
        result.segments.push_back({0, line});
        result.width = m_measure(line);
        return result;
    }
    int x = 0;
    const QStringList parts = line.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) x = (x / m_tabWidth + 1) * m_tabWidth;
        if (!parts[i].isEmpty()) result.segments.push_back({x, parts[i]});
        x += m_measure(parts[i]);
    }
    result.width = x;
    return result;
}

std::vector<QString> GdiTextLayout::Wrap(const QString& paragraph, bool expandTabs, int maxWidth) const
{
    std::vector<QString> lines;
    QString current;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        // The next word with the blanks in front of it.
        qsizetype j = i;
        while (j < paragraph.size() && paragraph[j] == QLatin1Char(' ')) ++j;
        while (j < paragraph.size() && paragraph[j] != QLatin1Char(' ')) ++j;
        const QString piece = paragraph.mid(i, j - i);
        const QString candidate = current + piece;
        if (!current.isEmpty() && Arrange(candidate, expandTabs).width > maxWidth) {
            lines.push_back(current);
            // The blanks at a break vanish; a word wider than the line stands alone.
            current = piece.trimmed().isEmpty() ? QString() : QString(piece).remove(QRegularExpression(QStringLiteral("^ +")));
        } else {
            current = candidate;
        }
        i = j;
    }
    lines.push_back(current);
    return lines;
}

GdiTextLine GdiTextLayout::Ellipsize(const QString& line, bool expandTabs, int maxWidth) const
{
    GdiTextLine arranged = Arrange(line, expandTabs);
    if (arranged.width <= maxWidth) return arranged;
    const QString dots = QStringLiteral("...");
    for (qsizetype keep = line.size() - 1; keep >= 0; --keep) {
        GdiTextLine shorter = Arrange(line.left(keep) + dots, expandTabs);
        if (shorter.width <= maxWidth || keep == 0) return shorter;
    }
    return Arrange(dots, expandTabs);
}

std::vector<GdiTextLine> GdiTextLayout::Layout(const QString& text, UINT format, int maxWidth) const
{
    const QString source = (format & DT_NOPREFIX) ? text : StripPrefixes(text);
    const bool expandTabs = (format & DT_EXPANDTABS) != 0;
    std::vector<QString> paragraphs;
    if (format & DT_SINGLELINE) {
        paragraphs.push_back(source);
    } else {
        static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
        for (const QString& p : source.split(breaks)) paragraphs.push_back(p);
    }
    std::vector<GdiTextLine> lines;
    for (const QString& paragraph : paragraphs) {
        std::vector<QString> wrapped;
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) wrapped = Wrap(paragraph, expandTabs, maxWidth);
        else wrapped.push_back(paragraph);
        for (const QString& line : wrapped) {
            lines.push_back((format & DT_END_ELLIPSIS) ? Ellipsize(line, expandTabs, maxWidth) : Arrange(line, expandTabs));
        }
    }
    return lines;
}
