// Splitting asset sources into lines of words, and reading numbers and colours from them.
#include "source_file.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace assets
{
bool Source_File::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        m_name = path;
        m_error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    Parse(path, text.str());
    return true;
}

void Source_File::Parse(const std::string& name, const std::string& text)
{
    m_name = name;
    m_lines.clear();
    m_error.clear();
    size_t start = 0;
    int number = 0;
    while (start <= text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        ++number;
        Source_Line line;
        line.number = number;
        line.text = raw;
        size_t i = 0;
        while (i < raw.size())
        {
            char c = raw[i];
            if (c == ' ' || c == '\t')
            {
                ++i;
                continue;
            }
            if (c == '/' && i + 1 < raw.size() && raw[i + 1] == '/')
                break;
            std::string word;
            if (c == '"')
            {
                size_t close = raw.find('"', i + 1);
                if (close == std::string::npos)
                {
                    Fail(number, "a quoted word has no closing quote");
                    close = raw.size();
                }
                word = raw.substr(i + 1, close - i - 1);
                i = close + 1;
            }
            else
            {
                size_t stop = raw.find_first_of(" \t", i);
                if (stop == std::string::npos)
                    stop = raw.size();
                word = raw.substr(i, stop - i);
                i = stop;
            }
            line.words.push_back(word);
        }
        if (!line.words.empty())
            m_lines.push_back(std::move(line));
        if (end == text.size())
            break;
        start = end + 1;
    }
}

void Source_File::Fail(int line, const std::string& message)
{
    if (m_error.empty())
        m_error = m_name + ":" + std::to_string(line) + ": " + message;
}

std::string Word_Reader::Word(const char* what)
{
    if (!More())
    {
        Fail(std::string("'") + m_line.words[0] + "' needs " + what);
        return {};
    }
    return m_line.words[m_next++];
}

static bool Parse_Number(const std::string& word, double& value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size() && std::isfinite(value);
}

double Word_Reader::Number(const char* what)
{
    std::string word = Word(what);
    if (!Ok())
        return 0.0;
    double value = 0.0;
    if (!Parse_Number(word, value))
        Fail(std::string("'") + word + "' is not a number (" + what + ")");
    return value;
}

double Word_Reader::Number_Or(double fallback)
{
    double value = 0.0;
    if (More() && Parse_Number(m_line.words[m_next], value))
    {
        ++m_next;
        return value;
    }
    return fallback;
}

int Word_Reader::Integer(const char* what)
{
    double value = Number(what);
    if (Ok() && (value != std::floor(value) || std::fabs(value) > 1e9))
        Fail(std::string(what) + " must be a whole number");
    return Ok() ? static_cast<int>(value) : 0;
}

bool Word_Reader::Colour(float out[4], const char* what)
{
    if (More() && !m_line.words[m_next].empty() && m_line.words[m_next][0] == '#')
    {
        std::string hex = m_line.words[m_next++].substr(1);
        if ((hex.size() != 6 && hex.size() != 8) ||
            hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        {
            Fail(std::string("'#") + hex + "' is not a colour (" + what + ")");
            return false;
        }
        for (int i = 0; i < 4; ++i)
            out[i] = i * 2 < static_cast<int>(hex.size())
                         ? static_cast<float>(std::strtol(hex.substr(i * 2, 2).c_str(), nullptr, 16)) / 255.0f
                         : 1.0f;
        return true;
    }
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<float>(Number(what));
    out[3] = static_cast<float>(Number_Or(1.0));
    return Ok();
}

void Word_Reader::End()
{
    if (More() && Ok())
        Fail(std::string("'") + m_line.words[m_next] + "' was not expected after '" + m_line.words[0] + "'");
}
} // namespace assets
