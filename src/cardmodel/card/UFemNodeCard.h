#pragma once

// What a Node card gives beyond the card interface: its location. The Node class implements it
// beside UFemCard.
class UFemNodeCard {
public:
    virtual ~UFemNodeCard() = default;

    // Writes x, y and z.
    virtual void getNodeLocation(double nodeLocation[3]) const = 0;
};
