#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// A frame in the highlight colour around a control, drawn on its parent in the margin beside
// it, while the control has the focus: for controls whose own pixels must stay exactly as
// drawn. It is no widget of its own, so the window's set of controls stays as it is.
class FocusFrame : public QObject {
    Q_OBJECT

public:
    // Owned by target; target must not move afterwards.
    explicit FocusFrame(QWidget *target);

    static constexpr int gap = 1;
    static constexpr int width = 2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paint();

    QWidget *const m_target;
    const QRect m_outer;
};
