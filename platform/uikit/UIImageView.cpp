#include "platform/uikit/UIImageView.h"

#include "platform/uikit/Canvas.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIImageView::runtime_class() {
    static Class cls = ClassBuilder<UIImageView>("UIImageView", UIView::runtime_class())
                           .method<&UIImageView::initWithImage>("initWithImage:")
                           .method<&UIImageView::image>("image")
                           .method<&UIImageView::setImage>("setImage:")
                           .get();
    return cls;
}

UIImageView::UIImageView() {
    setUserInteractionEnabled(false);
}

Ref<Object> UIImageView::initWithImage(UIImage* image) {
    CGRect frame{{}, image ? image->size() : CGSize{}};
    Ref<Object> initialised = msg<Ref<Object>>(this, "initWithFrame:"_sel, frame);
    if (auto* view = dynamic_cast<UIImageView*>(initialised.get()))
        view->setImage(image);
    return initialised;
}

void UIImageView::draw(Canvas& canvas) const {
    canvas.draw_image(bounds(), image_.get());
}

} // namespace platform::uikit
