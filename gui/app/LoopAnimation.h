#pragma once

#include <QTimer>
#include <QWidget>

namespace quorvane {

// The wait form's animation, 240 x 50 pixels, drawn in code: sheets fly from a folder on the
// left to a folder on the right, over and over, while a magnifier sweeps above them.
class TLoopAnimation : public QWidget {
    Q_OBJECT

public:
    explicit TLoopAnimation(QWidget* parent = nullptr);

    void Start();
    void Stop();
    bool Running() const { return FTimer.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer FTimer;
    int FFrame = 0;
};

} // namespace quorvane
