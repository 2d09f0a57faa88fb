#ifndef TABBUTTON_H
#define TABBUTTON_H

#include <QPixmap>
#include <QPushButton>
#include <QString>

// A push button that names a tab: it highlights itself while its tab is the current
// one, elides its text to its own width when painted, and dims its icon while the
// mouse is elsewhere. A tab is a pair of them, the named button and its close button.
class TabButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TabButton(QWidget* parent);
    TabButton(QWidget* parent, QString name);

    QString getTabName() const;
    void setTabName(const QString& name);
    QString getLabel() const;
    TabButton* getCloseButton() const;
    void setCloseButton(TabButton* button);
    float getIconOpacity() const;
    void setIconOpacity(float opacity);
    // The icon together with the pixmap it is drawn from at its display size.
    void setIconPixmap(const QIcon& icon, const QPixmap& pixmap);
    // The icon of an image file at its display size, loaded once for the whole program.
    void setIconFile(const QString& path, const QSize& size);
    QPixmap getIconPixmap() const;

    static const QString normalStyleSheet;
    static const QString highlightStyleSheet;

signals:
    void tabClicked(QString tabName);
    void tabClosed(QString tabName);

public slots:
    void clicked(bool checked = false);
    void childClicked(bool checked = false);
    void toogleHighlight(QString tabName);
    void close(QString tabName);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showIconAt(float opacity);

    QString normalStyle;
    QString highlightStyle;
    TabButton* closeButton = nullptr;
    QString tabName;
    QString label;
    float iconOpacity = 0.2f;
    QPixmap iconPixmap;
    bool hovered = false;
    bool iconDirty = true;
};

#endif // TABBUTTON_H
