#pragma once

#include <QWidget>

// The 16 characters of a text as the unit shows them, one cell each, so that
// spaces and a text cut at 16 are plain to see; greyed when programming does
// not send them. Its accessible name spells the text out for screen readers.
class TextPreview : public QWidget {
    Q_OBJECT

  public:
    explicit TextPreview(QWidget* parent = nullptr);

    // text: the 16 characters; sent: whether programming sends them.
    void show16(const QString& text, bool sent);
    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int cellWidth() const;

    QString m_text;
    bool m_sent = false;
};
