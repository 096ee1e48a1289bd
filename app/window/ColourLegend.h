#pragma once
// TColourLegend: the key to a plot coloured by a value, in the plot's top left corner: what the
// colours stand for, the gradient with the values at its ends and their units, and the colour of
// the moves that have no value.

#include <QString>
#include <QWidget>

class TColourLegend : public QWidget
{
    Q_OBJECT

public:
    explicit TColourLegend(QWidget* parent);

    // title names the value ("Feed", "Z"); units follow the numbers. noValue names the moves
    // drawn in the no-value colour, empty when every move has a value.
    void ShowRange(const QString& title, double low, double high, const QString& units,
                   const QString& noValue);

    QString Text() const { return FText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString FText;
    QString FNoValue;
};
