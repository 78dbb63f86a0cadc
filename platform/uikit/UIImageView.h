// Image views: one image, drawn stretched over the view's bounds.
#pragma once

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

// Like labels, image views ignore touches unless told otherwise.
class UIImageView : public UIView {
  public:
    static Class runtime_class();

    UIImageView();

    // Initialises through initWithFrame: with the image's size at the origin, then sets the image.
    Ref<runtime::Object> initWithImage(UIImage* image);
    UIImage* image() const { return image_.get(); }
    void setImage(UIImage* image) { image_ = image; }

    void draw(Canvas& canvas) const override;

  private:
    Ref<UIImage> image_;
};

} // namespace platform::uikit
