// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The shapes whose pressure design thickness the codes give a formula for.
enum class DesignShape { Pipe, Shell, Head };

// The design data of an object, in one consistent system of units: MPa with mm, or psi with
// inches. size is the outside diameter of a pipe, the inside radius of a shell and the inside
// diameter of a head.
struct DesignData {
    DesignShape shape = DesignShape::Pipe;
    double pressure = 0.0;
    double size = 0.0;
    double stress = 0.0;
    double joint = 1.0;
    double weld = 1.0;
    double y = 0.4;
    double structural = 0.0;
};
