#pragma once

#include <QLabel>
#include <QPlainTextEdit>

class QGlyphRun;
class QPainter;

// The window's texts grow with the screen: on a 4K screen they are about 100 pixels high. Qt keeps
// glyphs up to 64 device pixels in its glyph cache and fills larger ones from their outlines at
// every paint, which made drawing the texts most of the time a page change takes. The widgets here
// draw such glyphs from images rendered once and kept; smaller glyphs stay with Qt's own cache, and
// what they do not cover (rich text, selections, input in progress) stays with Qt's own paint.

// Whether Qt would fill glyphs of this pixel size from their outlines at this device pixel ratio.
bool DrawnFromOutlines(qreal pixelSize, qreal devicePixelRatio);

// Draws the glyph runs with their positions taken from origin, in colour, large glyphs from kept
// images rendered at the painter's device pixel ratio and placed on whole device pixels.
void DrawGlyphRuns(QPainter& painter, QPointF origin, const QList<QGlyphRun>& runs,
                   const QColor& colour);

// The number of glyph images kept, for tests.
int KeptGlyphImageCount();

// A label whose plain, unwrapped text is drawn by DrawGlyphRuns, aligned as QLabel aligns it.
class TTextLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool DrawsItself() const;
};

// A plain text box whose text is drawn by DrawGlyphRuns while nothing is selected and no input is
// being composed; the caret is drawn as QPlainTextEdit draws it.
class TTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool DrawsItself() const;
};
