#include "platform/messages/CKMessageEntryCoverView.h"

#include "platform/uikit/Canvas.h"

namespace platform::messages {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;

Class CKMessageEntryCoverView::runtime_class() {
    static Class cls =
        ClassBuilder<CKMessageEntryCoverView>("CKMessageEntryCoverView", UIView::runtime_class())
            .method<&CKMessageEntryCoverView::fillColor>("fillColor")
            .method<&CKMessageEntryCoverView::setFillColor>("setFillColor:")
            .method<&CKMessageEntryCoverView::strokeColor>("strokeColor")
            .method<&CKMessageEntryCoverView::setStrokeColor>("setStrokeColor:")
            .get();
    return cls;
}

CKMessageEntryCoverView::CKMessageEntryCoverView()
    : fill_(UIColor::whiteColor()), stroke_(UIColor::colorWithRGBA(0.78, 0.78, 0.8, 1.0)) {
    layer()->setCornerRadius(kCornerRadius);
    // The fill and stroke are drawn square; the rounded clip gives the field its capsule shape.
    layer()->setMasksToBounds(true);
    setUserInteractionEnabled(false);
}

void CKMessageEntryCoverView::draw(uikit::Canvas& canvas) const {
    CGRect b = bounds();
    if (fill_)
        canvas.fill_rect(b, fill_.get());
    if (!stroke_)
        return;
    canvas.fill_rect(CGRectMake(0, 0, b.size.width, 1), stroke_.get());
    canvas.fill_rect(CGRectMake(0, b.size.height - 1, b.size.width, 1), stroke_.get());
    canvas.fill_rect(CGRectMake(0, 0, 1, b.size.height), stroke_.get());
    canvas.fill_rect(CGRectMake(b.size.width - 1, 0, 1, b.size.height), stroke_.get());
}

} // namespace platform::messages
