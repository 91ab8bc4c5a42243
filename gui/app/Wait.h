#pragma once

#include <QWidget>

class QLabel;

namespace quorvane {

class TLoopAnimation;

// The wait form: a small borderless window, always on top, that names the stage in hand under
// an animation while the main window stays usable. The main window creates it hidden, centres
// it over itself when it shows it, and owns it.
class TFrmWait : public QWidget {
    Q_OBJECT

public:
    explicit TFrmWait(QWidget* mainWindow);

    void SetText(const QString& text);
    QString Text() const;
    bool Animating() const;
    // Left = the window's left + (its width - this width) / 2, top likewise, truncating.
    void PlaceOver(const QWidget& window);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TLoopAnimation* Animate1;
    QLabel* Label1;
};

} // namespace quorvane
