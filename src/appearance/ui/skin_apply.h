#pragma once
// Windows take their look from the current skin: title bar, background picture, window colour,
// and the colours and fonts of each kind of control. Labels are skinned by their class mark:
// "N" on the window background, "F" on panels, anything else keeps its design look.

#include <QColor>
#include <QFont>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "appearance/skin_table.h"
#include "appearance/skin_types.h"
#include "appearance/ui/title_bar.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace tkv {

// Skin fonts as application fonts: usable by the program's own windows while the skin is in use.
// Application fonts belong to the process, so every instance shares one record of them.
class QtFontSystem : public FontSystem {
  public:
    bool has_family(const std::string& lower_case_name) override;
    bool add_font_file(const std::string& path) override;
    void remove_font_file(const std::string& path) override;
};

// Makes the fonts of skin available and withdraws those only an earlier skin brought (installed
// lists what was added): before any window puts on a skin that changed while the program runs.
void skin_fonts_follow(std::vector<SKINS_FONT_TYPE>& installed, const SKINS_TYPE& skin);

QColor qt_colour(SkinColor c);
QFont skin_font(const std::string& name, int size, std::uint8_t style);
QFont skin_font(const SKINS_ITEM_TYPE& item);
// The information text's font: the largest size from 20 points down (to 6 at least) at which the
// probe's text fits width. The probe is left in that font, which is returned.
QFont information_font(QLabel* probe, const std::string& name, std::uint8_t style, int width);

// The class mark of a label ("N" or "F"), kept as a property of the widget.
void set_skin_class(QWidget* label, const char* mark);
// A label of the given class mark placed on a window ("N") or panel ("F").
QLabel* skinned_label(QWidget* parent, const char* name, QRect geometry, const char* mark = "N");
// Marks a label that opens an address: its hover font takes the item's colour, underline inverted.
// Tab reaches it (showing the same look), and Enter or Space opens it as a click does.
void set_link_label(QLabel* label);

void apply_title_colours(TitleBar* bar, const SKINS_WORDCAP_TYPE& title);

// A progress bar in the skin's colours: background, border, gradient start and end.
void style_progress_bar(QProgressBar* bar, const SkinProgressColors& colours);
// A new progress bar from 0 to 100 without a percentage text, in the skin's colours.
QProgressBar* skinned_progress_bar(QWidget* parent, const char* name, QRect geometry,
                                   const SkinProgressColors& colours);

// The look of one control from the window record, chosen by its class.
void skin_control(QWidget* control, const SKINS_WINDOWS_TYPE& record);

struct PictureNames {
    std::string jpeg;
    std::string bmp;
};

// The title bar painter and the picture holder of one window, created when it opens. In a window
// that grows the picture grows with it (covering_size).
class WindowSkin {
  public:
    WindowSkin(QWidget* window, bool custom_title_bar);
    ~WindowSkin();
    QWidget* client() const { return frame_.client(); }
    TitleBar* title_bar() const { return frame_.title_bar(); }
    QLabel* picture_holder() const { return holder_; }
    const WindowFrame& frame() const { return frame_; }
    void set_client_size(QSize designed, double scale, WindowFrame::Sizing sizing = WindowFrame::Sizing::fixed) {
        frame_.set_client_size(designed, scale, sizing);
    }

    // Title colours, window colour, background picture (the window's own names, else the "other"
    // pictures), every control of the window, the frames, and the picture stretched by the display
    // scale above 1; controls without a caption of their own are named after their labels. The
    // skin's fonts must already be available.
    void apply(const SKINS_TYPE& skin, const SKINS_WINDOWS_TYPE& record, const std::string& skins_folder,
               double scale, const std::optional<PictureNames>& pictures = std::nullopt);

  private:
    void fit_picture();

    class PictureFollower;
    QWidget* window_;
    WindowFrame frame_;
    QLabel* holder_;
    QSize picture_size_; // at the designed client size; empty: the picture keeps its own
    QPointer<QObject> follower_;
};

} // namespace tkv
