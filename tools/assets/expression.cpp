// A small recursive-descent evaluator for the expressions of picture sources.
#include "expression.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace assets
{
namespace
{
constexpr double k_degrees = 3.14159265358979323846 / 180.0;

double Hash_Unit(double v)
{
    int64_t k = static_cast<int64_t>(std::llround(v * 1000.0));
    uint64_t h = static_cast<uint64_t>(k) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    h *= 0x94D049BB133111EBull;
    h ^= h >> 32;
    return static_cast<double>(h & 0xFFFFFFull) / static_cast<double>(0x1000000);
}

class Parser
{
  public:
    Parser(const std::string& text, const Variables& variables) : m_text(text), m_variables(variables) {}

    bool Run(double& out, std::string& error)
    {
        out = Conditional();
        Skip();
        if (m_error.empty() && m_at < m_text.size())
            m_error = "unexpected '" + m_text.substr(m_at, 1) + "'";
        if (!m_error.empty())
        {
            error = "in '" + m_text + "': " + m_error;
            return false;
        }
        if (!std::isfinite(out))
        {
            error = "'" + m_text + "' is not a finite number";
            return false;
        }
        return true;
    }

  private:
    void Skip()
    {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
    }
    bool Take(const char* token)
    {
        Skip();
        size_t n = std::char_traits<char>::length(token);
        if (m_text.compare(m_at, n, token) != 0)
            return false;
        // "<" must not take the first half of "<=", and so on.
        if (n == 1 && m_at + 1 < m_text.size() && m_text[m_at + 1] == '=' &&
            (token[0] == '<' || token[0] == '>' || token[0] == '!' || token[0] == '='))
            return false;
        m_at += n;
        return true;
    }
    double Fail(const std::string& message)
    {
        if (m_error.empty())
            m_error = message;
        m_at = m_text.size();
        return 0.0;
    }

    double Conditional()
    {
        double condition = Or();
        if (!Take("?"))
            return condition;
        double yes = Conditional();
        if (!Take(":"))
            return Fail("'?' without ':'");
        double no = Conditional();
        return condition != 0.0 ? yes : no;
    }
    double Or()
    {
        double v = And();
        while (Take("||"))
        {
            double r = And();
            v = (v != 0.0 || r != 0.0) ? 1.0 : 0.0;
        }
        return v;
    }
    double And()
    {
        double v = Compare();
        while (Take("&&"))
        {
            double r = Compare();
            v = (v != 0.0 && r != 0.0) ? 1.0 : 0.0;
        }
        return v;
    }
    double Compare()
    {
        double v = Sum();
        for (;;)
        {
            if (Take("=="))
                v = v == Sum() ? 1.0 : 0.0;
            else if (Take("!="))
                v = v != Sum() ? 1.0 : 0.0;
            else if (Take("<="))
                v = v <= Sum() ? 1.0 : 0.0;
            else if (Take(">="))
                v = v >= Sum() ? 1.0 : 0.0;
            else if (Take("<"))
                v = v < Sum() ? 1.0 : 0.0;
            else if (Take(">"))
                v = v > Sum() ? 1.0 : 0.0;
            else
                return v;
        }
    }
    double Sum()
    {
        double v = Product();
        for (;;)
        {
            if (Take("+"))
                v += Product();
            else if (Take("-"))
                v -= Product();
            else
                return v;
        }
    }
    double Product()
    {
        double v = Unary();
        for (;;)
        {
            if (Take("*"))
                v *= Unary();
            else if (Take("/"))
            {
                double d = Unary();
                v = d != 0.0 ? v / d : Fail("division by zero");
            }
            else if (Take("%"))
            {
                double d = Unary();
                v = d != 0.0 ? v - d * std::floor(v / d) : Fail("division by zero");
            }
            else
                return v;
        }
    }
    double Unary()
    {
        if (Take("-"))
            return -Unary();
        if (Take("+"))
            return Unary();
        if (Take("!"))
            return Unary() == 0.0 ? 1.0 : 0.0;
        double v = Atom();
        if (Take("^"))
            v = std::pow(v, Unary());
        return v;
    }
    double Atom()
    {
        Skip();
        if (m_at >= m_text.size())
            return Fail("the expression ends early");
        char c = m_text[m_at];
        if (c == '(')
        {
            ++m_at;
            double v = Conditional();
            if (!Take(")"))
                return Fail("missing ')'");
            return v;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.')
        {
            char* end = nullptr;
            double v = std::strtod(m_text.c_str() + m_at, &end);
            if (end == m_text.c_str() + m_at)
                return Fail("bad number");
            m_at = static_cast<size_t>(end - m_text.c_str());
            return v;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_')
        {
            size_t start = m_at;
            while (m_at < m_text.size() &&
                   (std::isalnum(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '_'))
                ++m_at;
            std::string name = m_text.substr(start, m_at - start);
            if (Take("("))
                return Call(name);
            if (name == "pi")
                return 3.14159265358979323846;
            auto found = m_variables.find(name);
            if (found == m_variables.end())
                return Fail("unknown name '" + name + "'");
            return found->second;
        }
        return Fail("unexpected '" + std::string(1, c) + "'");
    }
    double Call(const std::string& name)
    {
        std::vector<double> a;
        if (!Take(")"))
        {
            do
                a.push_back(Conditional());
            while (Take(","));
            if (!Take(")"))
                return Fail("missing ')' after the arguments of " + name);
        }
        auto need = [&](size_t n)
        {
            if (a.size() == n)
                return true;
            Fail(name + " takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s"));
            return false;
        };
        if (name == "sin" && need(1))
            return std::sin(a[0] * k_degrees);
        if (name == "cos" && need(1))
            return std::cos(a[0] * k_degrees);
        if (name == "tan" && need(1))
            return std::tan(a[0] * k_degrees);
        if (name == "atan2" && need(2))
            return std::atan2(a[0], a[1]) / k_degrees;
        if (name == "sqrt" && need(1))
            return a[0] >= 0 ? std::sqrt(a[0]) : Fail("sqrt of a negative number");
        if (name == "abs" && need(1))
            return std::fabs(a[0]);
        if (name == "min" && need(2))
            return std::fmin(a[0], a[1]);
        if (name == "max" && need(2))
            return std::fmax(a[0], a[1]);
        if (name == "clamp" && need(3))
            return std::fmin(std::fmax(a[0], a[1]), a[2]);
        if (name == "lerp" && need(3))
            return a[0] + (a[1] - a[0]) * a[2];
        if (name == "floor" && need(1))
            return std::floor(a[0]);
        if (name == "ceil" && need(1))
            return std::ceil(a[0]);
        if (name == "round" && need(1))
            return std::round(a[0]);
        if (name == "frac" && need(1))
            return a[0] - std::floor(a[0]);
        if (name == "pow" && need(2))
            return std::pow(a[0], a[1]);
        if (name == "smooth" && need(1))
        {
            double x = std::fmin(std::fmax(a[0], 0.0), 1.0);
            return x * x * (3 - 2 * x);
        }
        if (name == "rand" && need(1))
            return Hash_Unit(a[0]);
        if (name == "wave" && need(1))
            return 0.5 - 0.5 * std::cos(a[0] * 2 * 3.14159265358979323846);
        if (m_error.empty())
            return Fail("unknown function '" + name + "'");
        return 0.0;
    }

    const std::string& m_text;
    const Variables& m_variables;
    size_t m_at = 0;
    std::string m_error;
};
} // namespace

bool Evaluate(const std::string& text, const Variables& variables, double& out, std::string& error)
{
    Parser parser(text, variables);
    return parser.Run(out, error);
}

bool Is_Plain_Number(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}
} // namespace assets
