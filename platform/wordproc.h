// The word-processor stand-in: a flat OpenDocument text file (.fodt) with the typed text and
// the pasted pictures embedded as PNG, for the desktop's opener to show.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace vnt {

class WordDocument {
public:
    void TypeText(const QString &text);      // a line break in the text starts a new paragraph
    void TypeParagraph();
    void PastePicture(const QImage &image);  // shown at its size at 96 dpi (or the image's own
                                             // resolution), scaled down to fit the A4 text area
    QString toXml() const;
    // Writes the file; false on failure.
    bool save(const QString &path) const;
    // Writes a new file named after baseName into the folder, never over an existing one;
    // returns its path ("" on failure).
    QString saveNew(const QString &folder, const QString &baseName) const;
private:
    struct Item { bool picture; QString text; QImage image; };   // text "\n": a paragraph mark
    std::vector<Item> items_;
};

} // namespace vnt
