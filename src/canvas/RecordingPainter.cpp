#include "canvas/RecordingPainter.h"

TPaintOp TRecordingPainter::Make(TPaintKind kind) const {
    TPaintOp op{kind, {}, {}, {}, Pen(), Brush(), Font(), TextOpaque(), 0};
    return op;
}

void TRecordingPainter::DrawLine(TPixel from, TPixel to) {
    TPaintOp op = Make(TPaintKind::Line);
    op.Points = {from, to};
    Ops.push_back(op);
}

void TRecordingPainter::Polyline(const std::vector<TPixel>& points) {
    TPaintOp op = Make(TPaintKind::Polyline);
    op.Points = points;
    Ops.push_back(op);
}

void TRecordingPainter::Polygon(const std::vector<TPixel>& points) {
    TPaintOp op = Make(TPaintKind::Polygon);
    op.Points = points;
    Ops.push_back(op);
}

void TRecordingPainter::Ellipse(const TPixelRect& box) {
    TPaintOp op = Make(TPaintKind::Ellipse);
    op.Rect = box;
    Ops.push_back(op);
}

void TRecordingPainter::Rectangle(const TPixelRect& box) {
    TPaintOp op = Make(TPaintKind::Rectangle);
    op.Rect = box;
    Ops.push_back(op);
}

void TRecordingPainter::Arc(const TPixelRect& box, TPixel start, TPixel end) {
    TPaintOp op = Make(TPaintKind::Arc);
    op.Rect = box;
    op.Points = {start, end};
    Ops.push_back(op);
}

void TRecordingPainter::TextOut(int x, int y, const std::string& utf8Text) {
    TPaintOp op = Make(TPaintKind::Text);
    op.Points = {{x, y}};
    op.Text = utf8Text;
    op.Colour = TextBackground();
    Ops.push_back(op);
}

void TRecordingPainter::FloodFill(int x, int y, TColor border) {
    TPaintOp op = Make(TPaintKind::FloodFill);
    op.Points = {{x, y}};
    op.Colour = border;
    Ops.push_back(op);
}

void TRecordingPainter::FillRect(const TPixelRect& box, TColor color) {
    TPaintOp op = Make(TPaintKind::FillRect);
    op.Rect = box;
    op.Colour = color;
    Ops.push_back(op);
}

void TRecordingPainter::SaveArea(const TPixelRect& area) {
    TPaintOp op = Make(TPaintKind::Save);
    op.Rect = area;
    Ops.push_back(op);
}

void TRecordingPainter::RestoreArea() {
    Ops.push_back(Make(TPaintKind::Restore));
}

std::vector<TPaintOp> TRecordingPainter::OfKind(TPaintKind kind) const {
    std::vector<TPaintOp> r;
    for (const TPaintOp& op : Ops)
        if (op.Kind == kind) r.push_back(op);
    return r;
}

int TRecordingPainter::CountLines(TPixel from, TPixel to, bool bothWays) const {
    int n = 0;
    for (const TPaintOp& op : Ops)
        if (op.Kind == TPaintKind::Line && ((op.Points[0] == from && op.Points[1] == to) ||
                                            (bothWays && op.Points[0] == to && op.Points[1] == from)))
            ++n;
    return n;
}

const TPaintOp* TRecordingPainter::FindLine(TPixel from, TPixel to) const {
    for (const TPaintOp& op : Ops)
        if (op.Kind == TPaintKind::Line && op.Points[0] == from && op.Points[1] == to) return &op;
    return nullptr;
}

const TPaintOp* TRecordingPainter::FindText(const std::string& text) const {
    for (const TPaintOp& op : Ops)
        if (op.Kind == TPaintKind::Text && op.Text == text) return &op;
    return nullptr;
}

const TPaintOp* TRecordingPainter::FindEllipse(const TPixelRect& box) const {
    for (const TPaintOp& op : Ops)
        if (op.Kind == TPaintKind::Ellipse && op.Rect == box) return &op;
    return nullptr;
}
