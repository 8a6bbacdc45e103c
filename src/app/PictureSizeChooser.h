#pragma once
#include <QComboBox>
#include <QSize>
#include <optional>

// The picture's size, chosen beside the Background list: fit the window (the default), 600 x 600,
// a few common sizes, or any W x H typed in. The picture is laid out for the size, not scaled.
class PictureSizeChooser : public QComboBox {
    Q_OBJECT
public:
    explicit PictureSizeChooser(QWidget* parent = nullptr);

    // The size chosen in pixels; none: fit the window.
    std::optional<QSize> fixedSize() const { return fixed_; }
    // Chooses a size (none: fit the window) as the list would; emits changed().
    void choose(std::optional<QSize> size);

signals:
    void changed();

private:
    void activatedAt(int index);
    std::optional<QSize> fixed_;
};
