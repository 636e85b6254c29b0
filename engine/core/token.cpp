// Token lists: registration with its clash checks, and lookup.
#include "engine/core/token.h"

#include "engine/core/no_case.h"
#include "engine/core/vorta_log.h"

Token::Token(const char* token_name, int token_identifier, Token*& list)
    : name(token_name), identifier(token_identifier)
{
    Register_Token(list, this);
}

bool Register_Token(Token*& list, Token* token)
{
    if (!token || !token->name)
        return false;
    Token** end = &list;
    for (Token* existing = list; existing; existing = existing->next)
    {
        if (Equal_No_Case(existing->name, token->name))
        {
            Report_Error(false, "Token String:%s already exisits", token->name);
            return false;
        }
        if (existing->identifier == token->identifier)
        {
            Report_Error(false, "Token ID:%d (%s) already exisits", token->identifier, token->name);
            return false;
        }
        end = &existing->next;
    }
    token->next = nullptr;
    *end = token;
    return true;
}

int Find_Token(const Token* list, const char* name)
{
    for (const Token* token = list; token; token = token->next)
        if (Equal_No_Case(token->name, name))
            return token->identifier;
    return -1;
}
