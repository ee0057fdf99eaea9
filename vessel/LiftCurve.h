// The colony's lift curve: a piecewise-linear lift coefficient over the angle of attack.
#pragma once

// Lift coefficient at an angle of attack in radians; 0 beyond half a turn either way.
double LiftCoeff(double aoa);
