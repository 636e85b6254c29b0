// Comparison of names without regard to case (ASCII letters only), as every name lookup of the engine does.
#pragma once

inline char Fold_Case(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool Equal_No_Case(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    while (*a && Fold_Case(*a) == Fold_Case(*b))
    {
        ++a;
        ++b;
    }
    return Fold_Case(*a) == Fold_Case(*b);
}
