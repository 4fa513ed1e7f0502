// Writes the typed text and pasted pictures as one flat OpenDocument text file, which any
// office suite opens without a converter.
#include "wordproc.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <algorithm>

namespace vnt {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kDraw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString kSvg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString kXlink = QStringLiteral("http://www.w3.org/1999/xlink");

// A4 portrait with 2 cm margins: the area a picture has to fit into.
constexpr double kPageWidthCm = 21.0, kPageHeightCm = 29.7, kMarginCm = 2.0;
constexpr double kTextWidthCm = kPageWidthCm - 2 * kMarginCm;
constexpr double kTextHeightCm = kPageHeightCm - 2 * kMarginCm;

QString cm(double v)
{
    return QString::number(v, 'f', 3) + QStringLiteral("cm");   // never the locale's comma
}

bool allowedInXml(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x09 || (u >= 0x20 && u != 0xFFFE && u != 0xFFFF);
}

// Text with the characters XML cannot carry dropped and lone surrogate halves removed.
QString xmlSafe(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
                out += c;
                out += s.at(++i);
            }
            continue;
        }
        if (c.isLowSurrogate() || !allowedInXml(c))
            continue;
        out += c;
    }
    return out;
}

// Writes a piece of a paragraph. XML folds runs of spaces, so every space that would be
// folded (one at the start of the paragraph or after another space) goes as <text:s/>.
void writeRun(QXmlStreamWriter &w, const QString &raw, bool atParagraphStart)
{
    const QString s = xmlSafe(raw);
    QString plain;
    auto flush = [&] {
        if (!plain.isEmpty())
            w.writeCharacters(plain);
        plain.clear();
    };
    bool startOfParagraph = atParagraphStart;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\t')) {
            flush();
            w.writeEmptyElement(kText, QStringLiteral("tab"));
            ++i;
        } else if (c == QLatin1Char(' ')) {
            qsizetype n = 0;
            while (i + n < s.size() && s.at(i + n) == QLatin1Char(' '))
                ++n;
            i += n;
            if (!startOfParagraph) {
                plain += QLatin1Char(' ');
                --n;
            }
            if (n > 0) {
                flush();
                w.writeEmptyElement(kText, QStringLiteral("s"));
                if (n > 1)
                    w.writeAttribute(kText, QStringLiteral("c"), QString::number(n));
            }
        } else {
            plain += c;
            ++i;
        }
        startOfParagraph = false;
    }
    flush();
}

QSizeF sizeInCm(const QImage &image)
{
    const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 96.0 / 0.0254;
    const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 96.0 / 0.0254;
    // A picture of a scaling screen has more pixels than it has window pixels.
    const QSizeF px = image.deviceIndependentSize();
    double w = px.width() / dpmX * 100.0;
    double h = px.height() / dpmY * 100.0;
    const double scale = std::min({1.0, kTextWidthCm / w, kTextHeightCm / h});
    return {w * scale, h * scale};
}

void writePicture(QXmlStreamWriter &w, const QImage &image, int number)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QSizeF size = sizeInCm(image);
    w.writeStartElement(kDraw, QStringLiteral("frame"));
    w.writeAttribute(kDraw, QStringLiteral("name"), QStringLiteral("Bild") + QString::number(number));
    w.writeAttribute(kText, QStringLiteral("anchor-type"), QStringLiteral("as-char"));
    w.writeAttribute(kSvg, QStringLiteral("width"), cm(size.width()));
    w.writeAttribute(kSvg, QStringLiteral("height"), cm(size.height()));
    w.writeAttribute(kDraw, QStringLiteral("z-index"), QStringLiteral("0"));
    w.writeStartElement(kDraw, QStringLiteral("image"));
    w.writeStartElement(kOffice, QStringLiteral("binary-data"));
    w.writeCharacters(QString::fromLatin1(png.toBase64()));
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
}

// The paragraph style of a picture's caption: it keeps its paragraph on the page of the next,
// so that a caption never ends one page while its picture starts the next.
const QString kCaptionStyle = QStringLiteral("P1");

void writePageLayout(QXmlStreamWriter &w)
{
    w.writeStartElement(kOffice, QStringLiteral("automatic-styles"));
    w.writeStartElement(kStyle, QStringLiteral("style"));
    w.writeAttribute(kStyle, QStringLiteral("name"), kCaptionStyle);
    w.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
    w.writeEmptyElement(kStyle, QStringLiteral("paragraph-properties"));
    w.writeAttribute(kFo, QStringLiteral("keep-with-next"), QStringLiteral("always"));
    w.writeEndElement();
    w.writeStartElement(kStyle, QStringLiteral("page-layout"));
    w.writeAttribute(kStyle, QStringLiteral("name"), QStringLiteral("pm1"));
    w.writeEmptyElement(kStyle, QStringLiteral("page-layout-properties"));
    w.writeAttribute(kFo, QStringLiteral("page-width"), cm(kPageWidthCm));
    w.writeAttribute(kFo, QStringLiteral("page-height"), cm(kPageHeightCm));
    w.writeAttribute(kStyle, QStringLiteral("print-orientation"), QStringLiteral("portrait"));
    for (const char *side : {"margin-top", "margin-bottom", "margin-left", "margin-right"})
        w.writeAttribute(kFo, QString::fromLatin1(side), cm(kMarginCm));
    w.writeEndElement();
    w.writeEndElement();
    w.writeStartElement(kOffice, QStringLiteral("master-styles"));
    w.writeEmptyElement(kStyle, QStringLiteral("master-page"));
    w.writeAttribute(kStyle, QStringLiteral("name"), QStringLiteral("Standard"));
    w.writeAttribute(kStyle, QStringLiteral("page-layout-name"), QStringLiteral("pm1"));
    w.writeEndElement();
}

// Every name must reach the file system as one component of a path.
QString fileStem(const QString &baseName)
{
    QString stem;
    for (QChar c : baseName)
        stem += (c == QLatin1Char('/') || c.unicode() < 0x20) ? QLatin1Char('_') : c;
    stem = stem.trimmed();
    if (stem.isEmpty() || stem == QLatin1String(".") || stem == QLatin1String(".."))
        stem = QStringLiteral("Dokument");
    return stem;
}

} // namespace

void WordDocument::TypeText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = t.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            TypeParagraph();
        if (!lines[i].isEmpty())
            items_.push_back({false, lines[i], {}});
    }
}

void WordDocument::TypeParagraph()
{
    items_.push_back({false, QStringLiteral("\n"), {}});
}

void WordDocument::PastePicture(const QImage &image)
{
    if (!image.isNull())
        items_.push_back({true, {}, image});
}

QString WordDocument::toXml() const
{
    QString xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(false);
    w.writeStartDocument();
    for (const auto &[prefix, uri] : {std::pair{"office", kOffice}, {"style", kStyle}, {"text", kText},
                                      {"draw", kDraw}, {"svg", kSvg}, {"fo", kFo}, {"xlink", kXlink}})
        w.writeNamespace(uri, QString::fromLatin1(prefix));
    w.writeStartElement(kOffice, QStringLiteral("document"));
    w.writeAttribute(kOffice, QStringLiteral("version"), QStringLiteral("1.2"));
    w.writeAttribute(kOffice, QStringLiteral("mimetype"), QStringLiteral("application/vnd.oasis.opendocument.text"));
    writePageLayout(w);
    w.writeStartElement(kOffice, QStringLiteral("body"));
    w.writeStartElement(kOffice, QStringLiteral("text"));

    // A paragraph of text whose next paragraph holds a picture is that picture's caption.
    std::vector<bool> hasPicture(1, false), hasText(1, false);
    for (const Item &item : items_) {
        if (!item.picture && item.text == QLatin1String("\n")) {
            hasPicture.push_back(false);
            hasText.push_back(false);
        } else {
            (item.picture ? hasPicture : hasText).back() = true;
        }
    }
    size_t paragraph = 0;
    const auto isCaption = [&](size_t i) {
        return i + 1 < hasPicture.size() && hasText[i] && !hasPicture[i] && hasPicture[i + 1];
    };

    bool open = false, empty = true, atStart = true;
    int pictures = 0;
    auto openParagraph = [&] {
        if (!open) {
            w.writeStartElement(kText, QStringLiteral("p"));
            if (isCaption(paragraph))
                w.writeAttribute(kText, QStringLiteral("style-name"), kCaptionStyle);
            open = true;
            atStart = true;
            empty = false;
        }
    };
    for (const Item &item : items_) {
        if (!item.picture && item.text == QLatin1String("\n")) {
            if (open)
                w.writeEndElement();
            else
                w.writeEmptyElement(kText, QStringLiteral("p"));
            open = false;
            empty = false;
            ++paragraph;
            continue;
        }
        openParagraph();
        if (item.picture)
            writePicture(w, item.image, ++pictures);
        else
            writeRun(w, item.text, atStart);
        atStart = false;
    }
    if (open)
        w.writeEndElement();
    if (empty)
        w.writeEmptyElement(kText, QStringLiteral("p"));

    w.writeEndElement();   // office:text
    w.writeEndElement();   // office:body
    w.writeEndElement();   // office:document
    w.writeEndDocument();
    return xml;
}

bool WordDocument::save(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toXml().toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString WordDocument::saveNew(const QString &folder, const QString &baseName) const
{
    const QString stem = folder + QLatin1Char('/') + fileStem(baseName);
    QString path = stem + QStringLiteral(".fodt");
    // The name is taken by creating the file, so that nothing written meanwhile under the same
    // name is replaced; only the empty file taken here is then written over.
    for (int n = 2;; ++n) {
        QFile taken(path);
        if (taken.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (const QFileInfo there(path); !there.exists() && !there.isSymLink())
            return {};   // not there, yet it cannot be made: the folder is missing or closed
        path = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".fodt");
    }
    if (save(path))
        return path;
    QFile::remove(path);
    return {};
}

} // namespace vnt
