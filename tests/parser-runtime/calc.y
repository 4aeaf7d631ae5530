/* Statements of sums and products; "error ;" recovers at the next ";". */
%define api.value.type {CalcValue}
%token NUM 257 ARROW 258
%left '+' '-'
%left '*' '/'
%%
input : %empty | input stmt ;
stmt  : expr ';'              { results.push_back($1.value); }
      | error ';'             { ++recoveries; }
      ;
expr  : NUM
      | expr '+' expr         { $$.value = $1.value + $3.value; }
      | expr '-' expr         { $$.value = $1.value - $3.value; }
      | expr '*' expr         { $$.value = $1.value * $3.value; }
      | expr '/' expr         { if ($3.value == 0) YYABORT; $$.value = $1.value / $3.value; }
      | '(' expr ')'          { $$ = $2; }
      ;
%%
