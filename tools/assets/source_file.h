// Line-oriented reading of the asset sources: words separated by blanks, double quotes around a word
// with blanks, "//" comments to the end of the line, and errors that name the file and the line.
#pragma once
#include <string>
#include <vector>

namespace assets
{
struct Source_Line
{
    int number = 0;
    std::vector<std::string> words;
    std::string text; // the line as written, without its line end
};

class Source_File
{
  public:
    // Reads and splits the whole file; false (with Error() set) when it cannot be read.
    bool Load(const std::string& path);
    // Splits text as if it were the file's contents (for sources made in memory).
    void Parse(const std::string& name, const std::string& text);

    const std::string& Name() const { return m_name; }
    const std::vector<Source_Line>& Lines() const { return m_lines; }

    // "file:line: message"; the first error is kept, later ones are ignored.
    void Fail(int line, const std::string& message);
    // Fails the file with a message that already names its place (an error in a file it includes).
    void Fail_Text(const std::string& message)
    {
        if (m_error.empty())
            m_error = message;
    }
    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }

  private:
    std::string m_name;
    std::vector<Source_Line> m_lines;
    std::string m_error;
};

// Reads the words of one source line, reporting what is missing or malformed to the file.
class Word_Reader
{
  public:
    Word_Reader(Source_File& file, const Source_Line& line, size_t first = 1)
        : m_file(file), m_line(line), m_next(first)
    {
    }

    bool More() const { return m_next < m_line.words.size(); }
    std::string Word(const char* what);
    double Number(const char* what);
    double Number_Or(double fallback);
    int Integer(const char* what);
    // A colour: "#rrggbb", "#rrggbbaa", or three or four numbers from 0 to 1.
    bool Colour(float out[4], const char* what);
    // Fails the file when words are left over.
    void End();
    bool Ok() const { return !m_file.Failed(); }
    void Fail(const std::string& message) { m_file.Fail(m_line.number, message); }

  private:
    Source_File& m_file;
    const Source_Line& m_line;
    size_t m_next;
};
} // namespace assets
