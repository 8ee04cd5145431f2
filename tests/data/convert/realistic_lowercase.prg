procedure Totals
   local nSum := 0   && running sum
   select 0
   use sales
   do while .not. eof()
      if sales->amount > 0
         nSum += sales->amount
      else
         skip
         loop
      endif
      skip
   enddo
   nArea := select()
   select(nOld)
   close databases
   return
