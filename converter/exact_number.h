// ExactNumber: a number box that must not round what it shows. The unit page's factor and
// offset are written back to the engine when another unit is selected; a box that showed 15
// digits and was read back would round 0.5555555555555556 to 0.555555555555556 on every click.
// So the box shows the shortest text that reads back to the same double, and the value counts
// as edited only when the user changed that text.
#pragma once

#include <kestrum/ui/data_exchange.h>

#include <QString>

class ExactNumber {
public:
    // A value from the engine: shown exactly, not edited.
    void Set(double value);
    // No value (the engine could not work one out): the box is empty and reads back as 0.
    void SetUnknown();

    double Value() const { return m_value; }
    bool IsKnown() const { return m_edited || !m_shown.isEmpty(); }
    // The text the box shows for the value.
    QString Text() const;
    // Whether the last text taken differs from the text Set showed.
    bool IsEdited() const { return m_edited; }

    // Takes the box's text. The text Set showed gives back the exact value; other text is read
    // as a number. False (nothing taken) when the text is not a number.
    bool Take(const QString& text);

private:
    double m_original = 0;
    QString m_shown = QStringLiteral("0");
    double m_value = 0;
    bool m_edited = false;
};

// Data exchange for an ExactNumber box; a text that is not a number gets the layer's "enter a
// number" message and stops the exchange, as other number boxes do.
void DDX_ExactNumber(CDataExchange* pDX, int nIDC, ExactNumber& number);
