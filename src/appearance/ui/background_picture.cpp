#include "appearance/ui/background_picture.h"

#include "appearance/ui/builtin_pictures.h"
#include "appearance/ui/jpeg_image.h"
#include "shell/files.h"
#include "shell/text.h"

#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace tkv {

QLabel* create_picture_holder(QWidget* client) {
    auto* holder = new QLabel(client);
    holder->setObjectName("im_background");
    holder->setGeometry(0, 0, 538, 417);
    holder->setAttribute(Qt::WA_TransparentForMouseEvents);
    holder->setAlignment(Qt::AlignLeft | Qt::AlignTop); // a smaller picture sits at the top left
    holder->hide();
    holder->lower();
    return holder;
}

std::string skin_file_path(const std::string& skins_folder, const std::string& skin_folder,
                           const std::string& name) {
    const auto folder = find_name_in_folder(skins_folder, skin_folder);
    if (!folder) return {};
    const std::string dir = skins_folder + *folder + "/";
    const auto file = find_name_in_folder(dir, name);
    return file && file_exists(dir + *file) ? dir + *file : std::string();
}

QImage load_picture_file(const std::string& path) {
    if (ascii_lower_text(path).ends_with(".jpg")) return load_jpeg(path);
    QImage image;
    image.load(QString::fromStdString(path), "BMP");
    return image;
}

QSize covering_size(QSize natural, QSize designed, QSize client) {
    if (designed.isEmpty()) return natural;
    const double ratio = std::max({1.0, double(client.width()) / designed.width(),
                                   double(client.height()) / designed.height()});
    return {static_cast<int>(std::lround(natural.width() * ratio)),
            static_cast<int>(std::lround(natural.height() * ratio))};
}

QPixmap screen_pixmap(const QImage& picture, qreal ratio) {
    if (picture.isNull() || ratio == 1) return QPixmap::fromImage(picture);
    QPixmap pixmap = QPixmap::fromImage(
        picture.scaled(picture.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

bool load_background_picture(QLabel* holder, const SKINS_TYPE& skin, const std::string& skins_folder,
                             const std::string& jpeg_name, const std::string& bmp_name) {
    holder->setGeometry(0, 0, 538, 417);
    holder->setScaledContents(false);
    holder->lower();
    bool loaded = true;
    QImage picture;
    if (skin.folder.empty()) {
        picture = builtin_picture(bmp_name);
    } else {
        std::string path = skin_file_path(skins_folder, skin.folder, jpeg_name);
        if (path.empty()) path = skin_file_path(skins_folder, skin.folder, bmp_name);
        loaded = !path.empty();
        if (loaded) picture = load_picture_file(path);
    }
    holder->setPixmap(screen_pixmap(picture, holder->devicePixelRatioF()));
    holder->setVisible(loaded);
    return loaded;
}

} // namespace tkv
