#pragma once

#include "MatrixCalculatorTestSupport.h"

// A braced lattice tower of nx x ny x nz nodes, its base fixed, loaded in `cases` cases.
inline CalculatorTestModel latticeTower(quint64 nx, quint64 ny, quint64 nz, quint64 cases)
{
    std::vector<std::array<double, 3>> locations;
    const auto node = [&](quint64 x, quint64 y, quint64 z) { return (z * ny + y) * nx + x; };
    for (quint64 z = 0; z < nz; ++z)
        for (quint64 y = 0; y < ny; ++y)
            for (quint64 x = 0; x < nx; ++x)
                locations.push_back({ double(x), double(y) * 1.1, double(z) * 0.9 });
    CalculatorTestModel model(locations, cases);
    for (quint64 z = 0; z < nz; ++z)
        for (quint64 y = 0; y < ny; ++y)
            for (quint64 x = 0; x < nx; ++x) {
                const quint64 n = node(x, y, z);
                if (x + 1 < nx)
                    model.addBar(n, node(x + 1, y, z), 1.0e4);
                if (y + 1 < ny)
                    model.addBar(n, node(x, y + 1, z), 1.0e4);
                if (z + 1 < nz)
                    model.addBar(n, node(x, y, z + 1), 2.0e4);
                if (x + 1 < nx && y + 1 < ny)
                    model.addBar(n, node(x + 1, y + 1, z), 5.0e3);
                if (x + 1 < nx && z + 1 < nz)
                    model.addBar(n, node(x + 1, y, z + 1), 5.0e3);
                if (y + 1 < ny && z + 1 < nz)
                    model.addBar(n, node(x, y + 1, z + 1), 5.0e3);
            }
    for (quint64 y = 0; y < ny; ++y)
        for (quint64 x = 0; x < nx; ++x)
            for (quint64 d = 0; d < 3; ++d)
                model.fix(node(x, y, 0), 0, d);
    for (quint64 c = 0; c < cases; ++c)
        model.addLoad(node(c % nx, (c / nx) % ny, nz - 1), 0, c,
            { 1.0 + double(c), -0.5 * double(c % 4), 0.25 * double(c) - 1.0 });
    return model;
}
