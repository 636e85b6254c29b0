// Arithmetic in picture sources: numbers written as expressions over named values, so that one drawing
// can be repeated over the cells of an animation (the cell's phase, a loop counter, a part's arguments).
//
//   2*r+4   (w-8)/2   sin(t*360)   i<8 ? 1 : -1   lerp(10,40,t)   rand(i*7+3)
//
// Operators by rising precedence: ?:, ||, &&, == != < <= > >=, + -, * / %, unary - and !, ^ (power).
// Angles are in degrees (sin, cos, tan, atan2). Functions: sin cos tan atan2 sqrt abs min max clamp lerp
// floor ceil round frac pow smooth (smoothstep of 0..1) rand (a fixed pseudo-random value in [0, 1) for
// any number) wave (0..1..0 over one period of its argument).
#pragma once
#include <map>
#include <string>

namespace assets
{
using Variables = std::map<std::string, double>;

// Evaluates `text`; false with `error` set on a mistake or an unknown name.
bool Evaluate(const std::string& text, const Variables& variables, double& out, std::string& error);
// True when `text` is a plain decimal number (no names or operators).
bool Is_Plain_Number(const std::string& text, double& out);
} // namespace assets
