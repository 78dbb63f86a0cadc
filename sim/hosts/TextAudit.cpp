#include "sim/hosts/TextAudit.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/NSAttributedString.h"
#include "platform/render/SystemFace.h"
#include "platform/render/ViewRenderer.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/Canvas.h"
#include "platform/uikit/TextColour.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/_UIBackdropView.h"
#include "sim/hosts/Screen.h"

namespace zimtone::sim {

using namespace platform::uikit;
using nlohmann::json;
using platform::foundation::CGPoint;
using platform::foundation::CGRect;
using platform::foundation::Failure;
using platform::foundation::NSAttributedString;
using platform::foundation::Result;
using zimtone::colour::Colour;

namespace {

// Drawn at the screenshots' scale, so that boxes and pixels agree with the pictures.
constexpr double kScale = 2.0;
// A pixel belongs to a text's ink when a channel moves this much once the text is hidden; softer
// changes are the faint edge of anti-aliasing.
constexpr int kInkThreshold = 16;

double linear(double channel) {
    double c = std::isnan(channel) ? 0.0 : std::clamp(channel, 0.0, 1.0);
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// What one draw_text call showed, in the drawing view's coordinates.
struct DrawnText {
    CGRect rect;
    std::string text;
    Colour colour;
    std::string font_name;
    double font_size{0};
};

// A canvas that draws nothing and keeps the texts it is asked to draw.
class TextRecorder final : public Canvas {
  public:
    void fill_rect(CGRect, const UIColor*) override {}
    void draw_image(CGRect, const UIImage*) override {}
    void draw_text(CGRect rect, const NSAttributedString* text, const UIFont* font, const UIColor* fallback,
                   int64_t) override {
        if (!text || text->str().find_first_not_of(" \t\n") == std::string::npos)
            return;
        // One colour and font per text: that of its first character, as the label takes them.
        const UIColor* colour = platform::uikit::foreground_colour_at(*text, 0);
        if (!colour)
            colour = fallback;
        if (auto* own =
                dynamic_cast<const UIFont*>(text->attribute_at(platform::foundation::NSFontAttributeName, 0)))
            font = own;
        texts.push_back({rect, text->str(), colour ? colour->colour() : Colour::opaqueBlack(),
                         font ? font->name() : UIFont::system_font_name, font ? font->pointSize() : 17});
    }
    std::vector<DrawnText> texts;
};

// A text found on screen: the view that draws it, where it sits, and its opacity down the tree.
struct FoundText {
    UIView* view{nullptr};
    size_t part{0}; // which of the view's texts
    std::vector<std::string> path;
    double alpha{1};
    DrawnText drawn;
    CGRect screen_rect; // the drawing rectangle on screen, cut to the view's bounds
};

CGRect intersection(const CGRect& a, const CGRect& b) {
    double x0 = std::max(a.origin.x, b.origin.x), y0 = std::max(a.origin.y, b.origin.y);
    double x1 = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
    double y1 = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return {{x0, y0}, {std::max(0.0, x1 - x0), std::max(0.0, y1 - y0)}};
}

CGRect to_screen(const UIView& view, const CGRect& rect) {
    CGPoint a = view.convertPointToView(rect.origin, nullptr);
    CGPoint b =
        view.convertPointToView({rect.origin.x + rect.size.width, rect.origin.y + rect.size.height}, nullptr);
    return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::abs(b.x - a.x), std::abs(b.y - a.y)}};
}

void collect(UIView& view, double alpha, std::vector<std::string> path, std::vector<FoundText>& found) {
    if (view.isHidden() || !(view.alpha() > 0))
        return;
    alpha *= std::clamp(view.alpha(), 0.0, 1.0);
    path.push_back(platform::runtime::class_getName(view.isa()));
    TextRecorder recorder;
    view.draw(recorder);
    CGRect bounds_on_screen = to_screen(view, view.bounds());
    for (size_t i = 0; i < recorder.texts.size(); ++i) {
        CGRect on_screen = intersection(to_screen(view, recorder.texts[i].rect), bounds_on_screen);
        found.push_back({&view, i, path, alpha, recorder.texts[i], on_screen});
    }
    for (const auto& child : view.subview_list())
        collect(*child, alpha, path, found);
}

bool layer_draws_nothing(const UIView& view) {
    const CALayer* layer = view.layer();
    if (dynamic_cast<const UIBackdropView*>(&view) || dynamic_cast<const CAGradientLayer*>(layer))
        return false;
    auto* background = layer->backgroundColor();
    return (!background || background->colour().alpha <= 0) && !layer->contents() &&
           layer->sublayer_list().empty();
}

// A view whose whole drawing is text: hiding it takes away its texts and nothing else.
bool draws_only_text(const UIView& view) {
    if (!layer_draws_nothing(view))
        return false;
    return std::all_of(view.subview_list().begin(), view.subview_list().end(),
                       [](const auto& child) { return child->isHidden() || draws_only_text(*child); });
}

// Takes the texts off the screen and puts them back when it goes. A view that draws only text
// is hidden; a label with a background of its own loses its text instead; any other view keeps
// its text, and its texts are marked as measured over themselves.
class HiddenTexts {
  public:
    explicit HiddenTexts(const std::vector<FoundText>& found) {
        for (const auto& text : found) {
            UIView* view = text.view;
            if (std::find(views_.begin(), views_.end(), view) != views_.end())
                continue;
            views_.push_back(view);
            if (draws_only_text(*view)) {
                view->setHidden(true);
                hidden_.push_back(view);
            } else if (auto* label = dynamic_cast<UILabel*>(view)) {
                blanked_.emplace_back(label,
                                      platform::runtime::Ref<NSAttributedString>(label->attributedText()));
                label->setAttributedText(nullptr);
            } else {
                kept_.push_back(view);
            }
        }
    }
    ~HiddenTexts() {
        for (auto* view : hidden_)
            view->setHidden(false);
        for (auto& [label, text] : blanked_)
            label->setAttributedText(text.get());
    }
    HiddenTexts(const HiddenTexts&) = delete;
    HiddenTexts& operator=(const HiddenTexts&) = delete;

    bool kept(const UIView* view) const { return std::find(kept_.begin(), kept_.end(), view) != kept_.end(); }

  private:
    std::vector<UIView*> views_;
    std::vector<UIView*> hidden_;
    std::vector<std::pair<UILabel*, platform::runtime::Ref<NSAttributedString>>> blanked_;
    std::vector<UIView*> kept_;
};

// One renderer for the audits of this process, apart from the screenshots' own.
platform::render::ViewRenderer& renderer() {
    static auto* shared = new platform::render::ViewRenderer({kScale});
    return *shared;
}

Result<zimtone::colour::Image> draw_screen() {
    if (auto drawn = renderer().render(screen()); !drawn)
        return Failure{drawn.error()};
    return renderer().image();
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// Writes the screen as it stands through `screenshot`, so its folder rules hold here too.
Result<void> write_picture(HostProcess& host, const std::string& path) {
    auto answer = host.execute("screenshot " + quoted(path));
    if (answer.value("ok", false))
        return {};
    return Failure{answer.value("error", "the picture could not be written")};
}

struct PixelBox {
    int x0{0}, y0{0}, x1{0}, y1{0};
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// The pixels of the rectangle where the two frames differ and no text drawn later (above it)
// has taken: the text's ink. The pixels it takes are marked in claimed.
PixelBox ink_box(const zimtone::colour::Image& drawn, const zimtone::colour::Image& bare, const CGRect& rect,
                 std::vector<bool>& claimed) {
    const int w = drawn.pixel_width, h = drawn.pixel_height;
    int x0 = std::clamp(static_cast<int>(std::floor(rect.origin.x * kScale)), 0, w);
    int y0 = std::clamp(static_cast<int>(std::floor(rect.origin.y * kScale)), 0, h);
    int x1 = std::clamp(static_cast<int>(std::ceil((rect.origin.x + rect.size.width) * kScale)), 0, w);
    int y1 = std::clamp(static_cast<int>(std::ceil((rect.origin.y + rect.size.height) * kScale)), 0, h);
    PixelBox box{x1, y1, x0, y0};
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            size_t index = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            if (claimed[index])
                continue;
            int moved = 0;
            for (size_t c = 0; c < 3; ++c)
                moved = std::max(
                    moved, std::abs(int(drawn.pixels[index * 4 + c]) - int(bare.pixels[index * 4 + c])));
            if (moved < kInkThreshold)
                continue;
            claimed[index] = true;
            box.x0 = std::min(box.x0, x);
            box.y0 = std::min(box.y0, y);
            box.x1 = std::max(box.x1, x + 1);
            box.y1 = std::max(box.y1, y + 1);
        }
    return box;
}

std::vector<Colour> pixels_in(const zimtone::colour::Image& image, const PixelBox& box) {
    std::vector<Colour> colours;
    colours.reserve(static_cast<size_t>((box.x1 - box.x0) * (box.y1 - box.y0)));
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            size_t at =
                (static_cast<size_t>(y) * static_cast<size_t>(image.pixel_width) + static_cast<size_t>(x)) *
                4;
            colours.push_back(
                {image.pixels[at] / 255.0, image.pixels[at + 1] / 255.0, image.pixels[at + 2] / 255.0, 1});
        }
    return colours;
}

json components(const Colour& c) {
    return {c.red, c.green, c.blue, c.alpha};
}

Colour median_colour(std::vector<Colour> colours) {
    auto channel = [&](double Colour::*member) {
        std::vector<double> values;
        for (const auto& c : colours)
            values.push_back(c.*member);
        std::nth_element(values.begin(), values.begin() + static_cast<long>((values.size() - 1) / 2),
                         values.end());
        return values[(values.size() - 1) / 2];
    };
    return {channel(&Colour::red), channel(&Colour::green), channel(&Colour::blue), 1};
}

bool intersects(const PixelBox& a, const PixelBox& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

CommandResult run_text_audit(HostProcess& host, const std::vector<std::string>& args) {
    TextAuditRequest request;
    std::vector<std::string> paths;
    for (const auto& arg : args) {
        if (arg == "--failing")
            request.failing_only = true;
        else if (arg == "--pictures-if-failing")
            request.pictures_only_when_failing = true;
        else
            paths.push_back(arg);
    }
    if (paths.size() > 2)
        return CommandResult::failure(
            "text-audit takes --failing, --pictures-if-failing and at most two file "
            "names: the frame as drawn and the frame without its texts");
    if (!paths.empty())
        request.drawn_path = paths[0];
    if (paths.size() == 2)
        request.background_path = paths[1];
    auto answer = audit_screen_texts(host, request);
    if (!answer)
        return CommandResult::failure(answer.error());
    return CommandResult::success(std::move(*answer));
}

} // namespace

double relative_luminance(const Colour& colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

double contrast_ratio(const Colour& a, const Colour& b) {
    double la = relative_luminance(a);
    double lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour composite_over(const Colour& top, const Colour& below) {
    double a = std::isnan(top.alpha) ? 0.0 : std::clamp(top.alpha, 0.0, 1.0);
    auto mix = [a](double t, double b) { return t * a + b * (1 - a); };
    return {mix(top.red, below.red), mix(top.green, below.green), mix(top.blue, below.blue), 1};
}

bool is_large_text(double point_size, int weight) {
    return point_size >= 18 || (point_size >= 14 && weight >= 700);
}

std::optional<ContrastSummary> summarise_contrast(const Colour& text, const std::vector<Colour>& background) {
    if (background.empty())
        return std::nullopt;
    std::vector<double> ratios;
    ratios.reserve(background.size());
    for (const auto& pixel : background)
        ratios.push_back(contrast_ratio(composite_over(text, pixel), pixel));
    std::sort(ratios.begin(), ratios.end());
    // Ranks from the lowest: floor((n - 1) * q).
    return ContrastSummary{ratios[(ratios.size() - 1) / 10], ratios[(ratios.size() - 1) / 2]};
}

Result<json> audit_screen_texts(HostProcess& host, const TextAuditRequest& request) {
    screen()->layoutIfNeeded();
    std::vector<FoundText> found;
    collect(*screen(), 1.0, {}, found);

    auto drawn = draw_screen();
    if (!drawn)
        return Failure{drawn.error()};
    std::vector<bool> over_itself(found.size(), false);
    auto bare = [&] {
        // All texts at once, one frame more: no text of these surfaces lies on another, which
        // each element's answer checks ("overlaps").
        HiddenTexts hidden(found);
        for (size_t i = 0; i < found.size(); ++i)
            over_itself[i] = hidden.kept(found[i].view);
        return draw_screen();
    }();
    if (!bare)
        return Failure{bare.error()};

    // Texts are found in drawing order; the last drawn shows on top, so it claims its ink first.
    std::vector<PixelBox> boxes(found.size());
    std::vector<bool> claimed(static_cast<size_t>(drawn->pixel_width) *
                              static_cast<size_t>(drawn->pixel_height));
    for (size_t i = found.size(); i-- > 0;)
        boxes[i] = ink_box(*drawn, *bare, found[i].screen_rect, claimed);

    json texts = json::array();
    bool any_fails = false;
    for (size_t i = 0; i < found.size(); ++i) {
        const auto& text = found[i];
        const PixelBox& box = boxes[i];
        if (box.empty())
            continue; // nothing of it shows: clipped away, covered or transparent
        Colour colour = text.drawn.colour;
        Colour as_drawn = colour;
        as_drawn.alpha = std::clamp(colour.alpha, 0.0, 1.0) * text.alpha;
        auto background = pixels_in(*bare, box);
        auto contrast = summarise_contrast(as_drawn, background);
        int weight = platform::render::weight_of_font_name(text.drawn.font_name);
        bool large = is_large_text(text.drawn.font_size, weight);
        double threshold = large ? kContrastLargeText : kContrastNormalText;
        bool fails = contrast->worst_tenth < threshold;
        any_fails |= fails;
        if (request.failing_only && !fails)
            continue;
        bool overlaps = false;
        for (size_t j = 0; j < boxes.size(); ++j)
            overlaps |= j != i && !boxes[j].empty() && intersects(box, boxes[j]);
        texts.push_back(
            {{"text", text.drawn.text},
             {"view", text.path.back()},
             {"part", text.part},
             {"path", text.path},
             {"box",
              {box.x0 / kScale, box.y0 / kScale, (box.x1 - box.x0) / kScale, (box.y1 - box.y0) / kScale}},
             {"colour", components(colour)},
             {"alpha", text.alpha},
             {"drawn", components(as_drawn)},
             {"font", {{"name", text.drawn.font_name}, {"size", text.drawn.font_size}, {"weight", weight}}},
             {"large", large},
             {"background", {{"median", components(median_colour(background))}}},
             {"contrast", {{"worst_tenth", contrast->worst_tenth}, {"median", contrast->median}}},
             {"threshold", threshold},
             {"below_4_5", contrast->worst_tenth < kContrastNormalText},
             {"below_3", contrast->worst_tenth < kContrastLargeText},
             {"fails", fails},
             {"overlaps", overlaps},
             {"background_has_text", over_itself[i]}});
    }
    // The pictures are drawn again as the screenshot command draws them, so its folder rules hold.
    bool pictures = !request.drawn_path.empty() && (any_fails || !request.pictures_only_when_failing);
    if (pictures) {
        if (auto written = write_picture(host, request.drawn_path); !written)
            return Failure{written.error()};
        HiddenTexts hidden(found);
        if (!request.background_path.empty())
            if (auto written = write_picture(host, request.background_path); !written)
                return Failure{written.error()};
    }
    return json{{"texts", std::move(texts)}, {"scale", kScale}, {"pictures", pictures}};
}

void set_up_text_audit(HostProcess& host) {
    host.add_command(
        "text-audit",
        "text-audit [--failing] [--pictures-if-failing] [DRAWN.png [BARE.png]]  (every text on screen: "
        "colour, box, font, the background drawn behind it and its contrast; optionally the frame with "
        "and without its texts as pictures, or only when a text fails)",
        [&host](const std::vector<std::string>& args) { return run_text_audit(host, args); });
}

} // namespace zimtone::sim
