// Token lists: keyword strings mapped to integer identifiers for the script parsers. A list is a pointer to
// its first Token (null when empty); tokens keep the order in which they were registered.
#pragma once

struct Token
{
    // Sets the fields and registers the token in the list. The name is not copied.
    Token(const char* name, int identifier, Token*& list);
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;

    const char* name;
    int identifier;
    Token* next = nullptr;
};

// Appends the token unless its name (without regard to case) or its identifier is already in the list; a
// clash is reported in a non-fatal error box and the token is left out. True when it was added.
bool Register_Token(Token*& list, Token* token);

// The identifier of the first token whose name equals the name without regard to case, or -1.
int Find_Token(const Token* list, const char* name);
