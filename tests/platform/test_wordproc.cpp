// The word-processor document: a well-formed flat OpenDocument text with the typed text and
// the pictures, and the desktop opener that shows it.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include "platform/wordproc.h"

using vnt::WordDocument;

namespace {

const QString kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
const QString kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
const QString kDraw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
const QString kSvg = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";

struct Picture {
    QImage image;
    QString width, height;
};

// What a reader of the file finds in it: paragraphs as text (spaces and tabs expanded) and
// the pictures decoded.
struct Parsed {
    QString mimetype;
    QStringList paragraphs;
    std::vector<Picture> pictures;
    QString error;
};

Parsed parse(const QString &xml)
{
    Parsed p;
    QXmlStreamReader r(xml);
    Picture current;
    int depth = 0;   // > 0 inside a paragraph
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const auto attr = r.attributes();
            if (depth)
                ++depth;
            if (r.namespaceUri() == kOffice && r.name() == u"document") {
                p.mimetype = attr.value(kOffice, "mimetype").toString();
            } else if (r.namespaceUri() == kText && r.name() == u"p") {
                p.paragraphs << QString();
                depth = 1;
            } else if (r.namespaceUri() == kText && r.name() == u"s") {
                const auto c = attr.value(kText, "c");
                p.paragraphs.last() += QString(c.isEmpty() ? 1 : c.toInt(), ' ');
            } else if (r.namespaceUri() == kText && r.name() == u"tab") {
                p.paragraphs.last() += '\t';
            } else if (r.namespaceUri() == kDraw && r.name() == u"frame") {
                current.width = attr.value(kSvg, "width").toString();
                current.height = attr.value(kSvg, "height").toString();
            } else if (r.namespaceUri() == kOffice && r.name() == u"binary-data") {
                current.image = QImage::fromData(QByteArray::fromBase64(r.readElementText().toLatin1()), "PNG");
                p.pictures.push_back(current);
                if (depth)
                    --depth;   // readElementText consumed the end element
            }
        } else if (r.isEndElement() && depth) {
            --depth;
        } else if (r.isCharacters() && depth) {
            p.paragraphs.last() += r.text();
        }
    }
    if (r.hasError())
        p.error = r.errorString();
    return p;
}

QImage sample(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor(x * 255 / w, y * 255 / h, 77));
    return img;
}

} // namespace

TEST(WordDocument, PageExportIsWellFormedWithTextAndPictures)
{
    // What the export of a result page types: per picture box its name, a paragraph mark,
    // the picture and another mark.
    WordDocument doc;
    const QImage pic = sample(120, 80);
    doc.TypeText("picBILD11");
    doc.TypeParagraph();
    doc.PastePicture(pic);
    doc.TypeParagraph();
    doc.TypeText("picBILD12");
    doc.TypeParagraph();
    doc.PastePicture(sample(40, 30));
    doc.TypeParagraph();

    const Parsed p = parse(doc.toXml());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_EQ(p.mimetype, "application/vnd.oasis.opendocument.text");
    EXPECT_EQ(p.paragraphs, QStringList({"picBILD11", "", "picBILD12", ""}));
    ASSERT_EQ(p.pictures.size(), 2u);
    EXPECT_EQ(p.pictures[0].image.convertToFormat(QImage::Format_ARGB32), pic);
    EXPECT_EQ(p.pictures[1].image.size(), QSize(40, 30));
}

TEST(WordDocument, EachCaptionStaysOnThePageOfItsPicture)
{
    WordDocument doc;
    doc.TypeText("picBILD11");
    doc.TypeParagraph();
    doc.PastePicture(sample(120, 80));
    doc.TypeParagraph();
    doc.TypeText("picBILD12");
    doc.TypeParagraph();
    doc.PastePicture(sample(40, 30));
    doc.TypeParagraph();
    doc.TypeText("Ende");

    // Paragraph styles that keep their paragraph with the next, and each paragraph's style.
    const QString kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
    const QString kFo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
    QStringList keeping;
    QList<std::pair<QString, QString>> paragraphs;   // text, style
    QXmlStreamReader r(doc.toXml());
    QString style;
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        if (r.namespaceUri() == kStyle && r.name() == u"style")
            style = r.attributes().value(kStyle, "name").toString();
        else if (r.namespaceUri() == kStyle && r.name() == u"paragraph-properties" &&
                 r.attributes().value(kFo, "keep-with-next") == u"always")
            keeping << style;
        else if (r.namespaceUri() == kText && r.name() == u"p") {
            const QString name = r.attributes().value(kText, "style-name").toString();
            paragraphs.append({r.readElementText(QXmlStreamReader::IncludeChildElements), name});
        }
    }
    ASSERT_FALSE(r.hasError()) << r.errorString().toStdString();
    ASSERT_EQ(paragraphs.size(), 5);
    for (int i : {0, 2})
        EXPECT_TRUE(keeping.contains(paragraphs[i].second)) << paragraphs[i].first.toStdString();
    for (int i : {1, 3, 4})
        EXPECT_FALSE(keeping.contains(paragraphs[i].second)) << i;
    EXPECT_EQ(paragraphs[4].first, "Ende");
}

TEST(WordDocument, PictureSizeFollowsItsResolutionAndFitsThePage)
{
    QImage at96 = sample(378, 189);                 // 10 cm x 5 cm at 96 dpi
    at96.setDotsPerMeterX(3780);
    at96.setDotsPerMeterY(3780);
    QImage at300 = sample(1181, 591);               // 10 cm x 5 cm at 300 dpi
    at300.setDotsPerMeterX(11811);
    at300.setDotsPerMeterY(11811);
    QImage wide = sample(1512, 378);                // 40 cm x 10 cm at 96 dpi: too wide for A4
    wide.setDotsPerMeterX(3780);
    wide.setDotsPerMeterY(3780);
    QImage scaled = sample(567, 284);               // 10 cm x 5 cm at 96 dpi on a screen scaled 1.5
    scaled.setDevicePixelRatio(1.5);
    scaled.setDotsPerMeterX(3780);
    scaled.setDotsPerMeterY(3780);
    WordDocument doc;
    doc.PastePicture(at96);
    doc.PastePicture(at300);
    doc.PastePicture(wide);
    doc.PastePicture(QImage());                     // nothing to paste
    doc.PastePicture(scaled);
    const Parsed p = parse(doc.toXml());
    ASSERT_EQ(p.pictures.size(), 4u);
    EXPECT_NEAR(p.pictures[3].width.chopped(2).toDouble(), 10.0, 0.01);
    auto cmOf = [](const QString &s) { EXPECT_TRUE(s.endsWith("cm")) << s.toStdString(); return s.chopped(2).toDouble(); };
    EXPECT_NEAR(cmOf(p.pictures[0].width), 10.0, 0.01);
    EXPECT_NEAR(cmOf(p.pictures[0].height), 5.0, 0.01);
    EXPECT_NEAR(cmOf(p.pictures[1].width), 10.0, 0.01);
    EXPECT_NEAR(cmOf(p.pictures[1].height), 5.0, 0.01);
    EXPECT_NEAR(cmOf(p.pictures[2].width), 17.0, 0.01);   // the text width, aspect kept
    EXPECT_NEAR(cmOf(p.pictures[2].height), 4.25, 0.01);
}

TEST(WordDocument, TypedTextKeepsSpacesMarkupAndLineBreaks)
{
    WordDocument doc;
    doc.TypeText("  Kosten <A1> & \"B\"   je m\tTabelle\x01");
    doc.TypeText(" Ende\r\nZweite Zeile");
    const Parsed p = parse(doc.toXml());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_EQ(p.paragraphs, QStringList({"  Kosten <A1> & \"B\"   je m\tTabelle Ende", "Zweite Zeile"}));
    // An empty document still opens as a valid text document.
    EXPECT_EQ(parse(WordDocument().toXml()).paragraphs, QStringList({""}));
}

TEST(WordDocument, SaveNewNeverWritesOverAFile)
{
    QTemporaryDir dir;
    WordDocument doc;
    doc.TypeText("mdiSEITE1");
    const QString first = doc.saveNew(dir.path(), "VANT Seite/1");
    const QString second = doc.saveNew(dir.path(), "VANT Seite/1");
    EXPECT_NE(first, second);                       // a new file each time
    EXPECT_EQ(first, dir.path() + "/VANT Seite_1.fodt");
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(parse(QString::fromUtf8(f.readAll())).paragraphs, QStringList({"mdiSEITE1"}));

    EXPECT_FALSE(doc.save("/nonexistent-folder/x.fodt"));
    EXPECT_EQ(doc.saveNew(dir.path() + "/nonexistent-folder", "VANT"), "");
}
