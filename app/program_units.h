// The units that start with the program and stop with it, from one explicit
// table in a fixed order and its reverse, never from C++ static
// initialisation.
#pragma once

class TProgramUnits {
public:
    TProgramUnits();   // starts every unit of the table in order
    ~TProgramUnits();  // stops those that started, in reverse
    TProgramUnits(const TProgramUnits&) = delete;
    TProgramUnits& operator=(const TProgramUnits&) = delete;

private:
    int started_ = 0;
};
