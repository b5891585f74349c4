#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs an action each time a widget of type W (with the given object name, if
// one is given) is shown, from the event loop right after the show, so that a
// test can drive what the code under test shows and waits on.
template <typename W> class WhenShown : public QObject {
  public:
    explicit WhenShown(std::function<void(W&)> action, QString objectName = {})
        : m_action(std::move(action)), m_objectName(std::move(objectName)) {
        qApp->installEventFilter(this);
    }
    ~WhenShown() override { qApp->removeEventFilter(this); }
    int times() const { return m_times; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* widget = qobject_cast<W*>(watched);
            if (widget && (m_objectName.isEmpty() || widget->objectName() == m_objectName)) {
                ++m_times;
                QTimer::singleShot(0, widget, [this, widget] { m_action(*widget); });
            }
        }
        return false;
    }

  private:
    std::function<void(W&)> m_action;
    QString m_objectName;
    int m_times = 0;
};
